#include "ui/forms/SysInfo.h"

#include "system/Failure.h"
#include "system/Host.h"
#include "system/Launcher.h"
#include "system/Platform.h"
#include "system/Service.h"

#include <array>
#include <exception>
#include <filesystem>

namespace halvane::ui
{
namespace
{

// Closes the key when GetKeyValue leaves, on every path: also after a failed
// open (the handle is then null, which the registry refuses harmlessly) and
// when a failure is thrown.
class KeyCloser
{
public:
    KeyCloser(Registry& r, const Registry::Key& key) : m_registry(r), m_key(key) {}
    ~KeyCloser() { m_registry.closeKey(m_key); }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    Registry& m_registry;
    const Registry::Key& m_key;
};

// The 32-bit number held by the (trimmed) data of a REG_DWORD, low byte first.
std::uint32_t dwordOf(std::string_view data)
{
    std::uint32_t number = 0;
    for (std::size_t i = std::min<std::size_t>(data.size(), 4); i-- > 0;)
        number = (number << 8) | static_cast<unsigned char>(data[i]);
    return number;
}

// A normal file: not a folder, not hidden. The path is text in the system's
// code page and, as the file system sees it, ends at its first zero.
bool fileExists(const std::string& path)
{
    const std::string name(path.c_str());
    return !name.empty() && platform::isNormalFile(std::filesystem::path(name));
}

// Looks the program up (its path, else its folder) and starts it; false when
// it is not found or cannot be started.
bool findAndStart()
{
    std::string path;
    if (!GetKeyValue(reg::kLocalMachine, kSysInfoPathKey, kSysInfoPathValue, path)) {
        if (!GetKeyValue(reg::kLocalMachine, kSysInfoFolderKey, kSysInfoFolderValue,
                         path))
            return false;
        path += kSysInfoFile;
        if (!fileExists(path))
            return false;
    }
    return service<Launcher>().startDetached(path);
}

} // namespace

bool GetKeyValue(const Registry::Key& KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal)
{
    Registry& r = service<Registry>();
    Registry::Key hKey = 0;
    KeyCloser closer(r, hKey);

    if (r.openKeyEx(KeyRoot, KeyName.c_str(), 0, kKeyAccess, &hKey) != reg::kSuccess) {
        KeyVal.clear();
        return false;
    }

    std::array<unsigned char, kValueBufferSize> buffer{};
    std::uint32_t size = kValueBufferSize;
    std::uint32_t type = 0;
    if (r.queryValueEx(hKey, SubKeyRef.c_str(), nullptr, &type, buffer.data(), &size) !=
            reg::kSuccess ||
        size > buffer.size()) {
        KeyVal.clear();
        return false;
    }

    if (size == 0)
        throw Failure(err::InvalidCall,
                      "The registry value " + SubKeyRef + " of " + KeyName + " holds no data");
    const std::size_t kept = buffer[size - 1] == 0 ? size - 1 : size;
    const std::string data(reinterpret_cast<const char*>(buffer.data()), kept);

    switch (type) {
    case reg::kTypeSz:
        KeyVal = data;
        break;
    case reg::kTypeDword:
        KeyVal = std::to_string(dwordOf(data));
        break;
    default:
        break;
    }
    return true;
}

void StartSysInfo()
{
    try {
        if (findAndStart())
            return;
    } catch (const std::exception&) {
        // A failure on the way ends in the same message as a program not found.
    }
    msgBox(kSysInfoUnavailable);
}

} // namespace halvane::ui
