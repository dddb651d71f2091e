#include "ui/forms/RegistryDesktop.h"

#include "ui/forms/SysInfo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace halvane
{
namespace
{

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::vector<std::filesystem::path> searchPath()
{
    std::vector<std::filesystem::path> directories;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const auto end = rest.find(':');
        if (auto dir = rest.substr(0, end); !dir.empty())
            directories.emplace_back(std::string(dir));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return directories;
}

bool isProgram(const std::filesystem::path& file)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

} // namespace

const std::vector<std::string>& RegistryDesktop::programs()
{
    static const std::vector<std::string> names{"kinfocenter", "hardinfo2", "hardinfo",
                                                "xfce4-about"};
    return names;
}

std::optional<std::string> RegistryDesktop::findProgram() const
{
    const auto directories = m_directories ? *m_directories : searchPath();
    for (const std::string& name : programs())
        for (const auto& dir : directories)
            if (isProgram(dir / name))
                return (dir / name).string();
    return std::nullopt;
}

Registry::Status RegistryDesktop::openKeyEx(Key root, const char* subKey, std::uint32_t options,
                                            std::uint32_t, Key* result)
{
    if (!result)
        return reg::kInvalidParameter;
    *result = 0;
    if (options != 0)
        return reg::kInvalidParameter;
    if (root != reg::kLocalMachine)
        return reg::kInvalidHandle;
    if (!subKey || !sameIgnoringCase(subKey, ui::kSysInfoPathKey))
        return reg::kFileNotFound;
    m_found = findProgram();
    *result = m_nextHandle++;
    m_open.insert(*result);
    return reg::kSuccess;
}

Registry::Status RegistryDesktop::queryValueEx(Key key, const char* valueName,
                                               std::uint32_t* reserved, std::uint32_t* type,
                                               unsigned char* data, std::uint32_t* size)
{
    if (reserved || (data && !size))
        return reg::kInvalidParameter;
    if (!m_open.count(key))
        return reg::kInvalidHandle;
    if (!valueName || !sameIgnoringCase(valueName, ui::kSysInfoPathValue) || !m_found)
        return reg::kFileNotFound;
    // Text as advapi32 stores it: with its closing zero.
    const auto needed = static_cast<std::uint32_t>(m_found->size() + 1);
    if (type)
        *type = reg::kTypeSz;
    if (!size)
        return reg::kSuccess;
    if (data && *size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (data)
        std::memcpy(data, m_found->c_str(), needed);
    *size = needed;
    return reg::kSuccess;
}

Registry::Status RegistryDesktop::closeKey(Key key)
{
    if (key == reg::kLocalMachine)
        return reg::kSuccess;
    return m_open.erase(key) ? reg::kSuccess : reg::kInvalidHandle;
}

Registry& Registry::system()
{
    static RegistryDesktop system;
    return system;
}

} // namespace halvane
