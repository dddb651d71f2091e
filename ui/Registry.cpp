#include "Registry.h"

#include "Seam.h"

namespace halvane::ui
{
namespace
{
Seam<Registry> g_registry(systemRegistry);
} // namespace

Registry& registry()
{
    return g_registry.get();
}

Registry* setRegistry(Registry* r)
{
    return g_registry.set(r);
}

} // namespace halvane::ui
