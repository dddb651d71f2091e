// What a window test runs the program in: a C: drive whose Shamsi.dbf is the
// test's table, a program directory the test may prepare, and the current
// directory and environment restored afterwards. Elsewhere than on Windows
// the drive is a Wine-style C: drive of the test's own (WINEPREFIX). On
// Windows it is the real C:\ (the tests run in a Wine prefix of their own):
// a Shamsi.dbf found there is kept aside and put back afterwards.
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
#ifdef _WIN32
        if (std::filesystem::exists(tableFile()))
            std::filesystem::rename(tableFile(), m_keptTable.path() / "Shamsi.dbf");
#else
        std::filesystem::create_directory(m_prefix / "drive_c");
#endif
    }
    ~ProgramScene()
    {
        m_programDirectory.reset();
        std::filesystem::current_path(m_savedCwd);
#ifdef _WIN32
        std::error_code ignored;
        std::filesystem::remove(tableFile(), ignored);
        if (std::filesystem::exists(m_keptTable.path() / "Shamsi.dbf"))
            std::filesystem::rename(m_keptTable.path() / "Shamsi.dbf", tableFile(), ignored);
#endif
    }
    ProgramScene(const ProgramScene&) = delete;
    ProgramScene& operator=(const ProgramScene&) = delete;

    // The table the main window's data control opens: Shamsi.dbf in C:\.
    std::filesystem::path tableFile() const
    {
#ifdef _WIN32
        return "C:\\Shamsi.dbf";
#else
        return m_prefix / "drive_c" / "Shamsi.dbf";
#endif
    }
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
#ifdef _WIN32
    TempDir m_keptTable;
#else
    TempDir m_prefix;
    ScopedEnv m_winePrefix{"WINEPREFIX", m_prefix.path().string()};
#endif
    TempDir m_programDir;
    std::optional<FixedProgramDirectory> m_programDirectory;
    std::filesystem::path m_savedCwd;
};

} // namespace halvane::test
