// A program directory a test prepared, in place of the executable's own for
// as long as it exists.
#pragma once

#include "system/ProgramDirectory.h"
#include "system/Service.h"

#include <filesystem>
#include <utility>

namespace halvane::test
{

class FixedProgramDirectory final : public ProgramDirectory
{
public:
    explicit FixedProgramDirectory(std::filesystem::path directory)
        : m_directory(std::move(directory))
    {
    }
    std::filesystem::path path() override { return m_directory; }

private:
    std::filesystem::path m_directory;
    ReplaceService<ProgramDirectory> m_scope{*this};
};

} // namespace halvane::test
