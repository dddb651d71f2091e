// What a window test runs the program in: a Wine-style C: drive of its own
// (WINEPREFIX), so the main window's data control finds the test's table, a
// program directory the test may prepare, and the current directory and
// environment restored afterwards.
#pragma once

#include "tests/support/FixedProgramDirectory.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TableBuilder.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace halvane::test
{

class ProgramScene
{
public:
    ProgramScene() : m_savedCwd(std::filesystem::current_path())
    {
        std::filesystem::create_directory(m_prefix / "drive_c");
    }
    ~ProgramScene()
    {
        m_programDirectory.reset();
        std::filesystem::current_path(m_savedCwd);
    }
    ProgramScene(const ProgramScene&) = delete;
    ProgramScene& operator=(const ProgramScene&) = delete;

    // The table the main window's data control opens: Shamsi.dbf in C:\.
    std::filesystem::path tableFile() const { return m_prefix / "drive_c" / "Shamsi.dbf"; }
    void writeTable(const TableBuilder& table) const { writeFile(tableFile(), table.bytes()); }

    // Makes a prepared directory the program's directory, holding those of
    // the delivered files (DATES.TXT, wait.BMP, success.BMP, ...) that are
    // named. Without it the program's directory is the test program's, where
    // the build places every delivered file.
    void useProgramDirectoryWith(std::initializer_list<std::string_view> files)
    {
        for (auto name : files)
            std::filesystem::copy_file(std::filesystem::path(HALVANE_PROGRAM_DIR) / name,
                                       m_programDir / name);
        usePreparedProgramDirectory();
    }
    const std::filesystem::path& programDir() const { return m_programDir.path(); }
    // Makes the prepared directory the program's directory, as it stands.
    void usePreparedProgramDirectory() { m_programDirectory.emplace(m_programDir.path()); }

private:
    TempDir m_prefix;
    ScopedEnv m_winePrefix{"WINEPREFIX", m_prefix.path().string()};
    TempDir m_programDir;
    std::optional<FixedProgramDirectory> m_programDirectory;
    std::filesystem::path m_savedCwd;
};

} // namespace halvane::test
