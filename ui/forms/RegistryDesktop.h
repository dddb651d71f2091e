// The registry on a system without a Windows registry. It answers only the
// About window's two questions: the key ui::kSysInfoPathKey exists and its
// value "PATH" is the path of the first desktop system-information program
// on the search path (kinfocenter, hardinfo2, hardinfo, xfce4-about), or is
// missing when none is installed; the folder location ui::kSysInfoFolderKey
// does not exist, since no MSINFO32.EXE is found there. It answers as
// advapi32 does: key paths and value names compare without regard to ASCII
// case, data that does not fit gives kMoreData with the size needed.
#pragma once

#include "system/Registry.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace halvane
{

class RegistryDesktop final : public Registry
{
public:
    // The programs looked for, in order of preference.
    static const std::vector<std::string>& programs();

    // Searches the directories of PATH, anew at every open, so a program
    // installed while this one runs is found on the next click.
    RegistryDesktop() = default;
    // Searches `directories` instead.
    explicit RegistryDesktop(std::vector<std::filesystem::path> directories)
        : m_directories(std::move(directories))
    {
    }

    Status openKeyEx(Key root, const char* subKey, std::uint32_t options, std::uint32_t samDesired,
                     Key* result) override;
    Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                        std::uint32_t* type, unsigned char* data, std::uint32_t* size) override;
    Status closeKey(Key key) override;

private:
    // The program found now, or none.
    std::optional<std::string> findProgram() const;

    std::optional<std::vector<std::filesystem::path>> m_directories;
    // Open handles of the one key, and the program found at the last open.
    std::set<Key> m_open;
    std::optional<std::string> m_found;
    Key m_nextHandle = 0x1000;
};

} // namespace halvane
