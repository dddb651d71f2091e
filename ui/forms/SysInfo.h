// The About window's system-information launcher: finds the operating
// system's system-information program through the registry and starts it, or
// tells the user it cannot. Uses the registry, launcher and host services in
// force (system/Registry.h, system/Launcher.h, system/Host.h). The program is
// looked up at kSysInfoPathKey, then kSysInfoFolderKey.
#pragma once

#include "system/Registry.h"

#include <string>
#include <string_view>

namespace halvane::ui
{

// Where the system-information program is registered, in the order the
// About window looks: the program's full path, then the folder that holds it.
inline constexpr const char* kSysInfoPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kSysInfoPathValue = "PATH";
inline constexpr const char* kSysInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSysInfoFolderValue = "MSINFO";

inline constexpr std::string_view kSysInfoUnavailable =
    "System Information Is Unavailable At This Time";

// Appended to the folder: the platform's directory separator and the file
// name.
#ifdef _WIN32
inline constexpr std::string_view kSysInfoFile = "\\MSINFO32.EXE";
#else
inline constexpr std::string_view kSysInfoFile = "/MSINFO32.EXE";
#endif

// Access asked for when a key is opened.
inline constexpr std::uint32_t kKeyAccess = 0x2003F;
// The most bytes a value may hold to be read.
inline constexpr std::uint32_t kValueBufferSize = 1024;

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` as text
// into `KeyVal`, and tells whether it was read. Text (REG_SZ) is taken as it
// is, without its closing zero if it has one; a 32-bit number (REG_DWORD)
// becomes its decimal text; a value of any other type leaves `KeyVal` as it
// was. A key that cannot be opened, a missing value or one over 1024 bytes
// empties `KeyVal` and gives false. A value without any data throws Failure 5
// (invalid call). The key is closed on every path.
bool GetKeyValue(const Registry::Key& KeyRoot, const std::string& KeyName,
                 const std::string& SubKeyRef, std::string& KeyVal);

// Starts the system-information program detached, or shows "System
// Information Is Unavailable At This Time". Never fails towards its caller.
void StartSysInfo();

} // namespace halvane::ui
