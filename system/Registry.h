// Read access to a registry of keys and typed values, shaped like the three
// advapi32 calls the About window's launcher needs (RegOpenKeyExA,
// RegQueryValueExA, RegCloseKey). A service (system/Service.h): on Windows it is
// advapi32 itself (RegistryWin32.cpp); elsewhere the About window's desktop
// replacement answers the same questions (ui/forms/RegistryDesktop.h, which
// defines Registry::system() there); tests put an in-memory registry in its
// place.
#pragma once

#include <cstdint>

namespace halvane
{

class Registry
{
public:
    // A key handle: an opened key or one of the predefined roots. Wide enough
    // for a Windows HKEY, which is a pointer.
    using Key = std::uintptr_t;
    // The result of a call: 0 on success, otherwise a Windows system error code.
    using Status = long;

    virtual ~Registry() = default;

    // Opens `subKey` below `root` and stores its handle in `*result`.
    virtual Status openKeyEx(Key root, const char* subKey, std::uint32_t options,
                             std::uint32_t samDesired, Key* result) = 0;
    // Reads the value `valueName` of an open key: stores its type in `*type`,
    // copies its data into `data` (room for `*size` bytes) and replaces `*size`
    // with the number of bytes stored. `reserved` must be null. Data that does
    // not fit gives kMoreData with the needed size in `*size`.
    virtual Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                                std::uint32_t* type, unsigned char* data, std::uint32_t* size) = 0;
    // Releases a handle opened by openKeyEx.
    virtual Status closeKey(Key key) = 0;

    // The registry of this system: advapi32 on Windows, the desktop
    // replacement elsewhere.
    static Registry& system();
};

namespace reg
{
// HKEY_LOCAL_MACHINE: the predefined handle 0x80000002, sign-extended as
// Windows does where a handle is 64 bits wide.
inline constexpr Registry::Key kLocalMachine =
    static_cast<Registry::Key>(static_cast<std::intptr_t>(static_cast<std::int32_t>(0x80000002u)));

inline constexpr Registry::Status kSuccess = 0;
inline constexpr Registry::Status kFileNotFound = 2;
inline constexpr Registry::Status kAccessDenied = 5;
inline constexpr Registry::Status kInvalidHandle = 6;
inline constexpr Registry::Status kInvalidParameter = 87;
inline constexpr Registry::Status kMoreData = 234;

inline constexpr std::uint32_t kTypeSz = 1;    // REG_SZ: text
inline constexpr std::uint32_t kTypeDword = 4; // REG_DWORD: 32-bit number, low byte first

inline constexpr std::uint32_t kKeyRead = 0x20019;   // KEY_READ
inline constexpr std::uint32_t kAllAccess = 0xF003F; // KEY_ALL_ACCESS
} // namespace reg

} // namespace halvane
