#include "core/Platform.h"

#include "core/ProgramDirectory.h"
#include "core/Service.h"

namespace halvane::platform
{

std::filesystem::path programDirectory()
{
    return service<ProgramDirectory>().path();
}

} // namespace halvane::platform
