// The registry on Windows: advapi32 itself, read through the single-byte
// (system code page) calls.
#include "system/Registry.h"

#include <windows.h>

namespace halvane
{
namespace
{

static_assert(sizeof(Registry::Key) == sizeof(HKEY));

HKEY handleOf(Registry::Key key)
{
    return reinterpret_cast<HKEY>(key);
}

class RegistryWin32 final : public Registry
{
public:
    Status openKeyEx(Key root, const char* subKey, std::uint32_t options, std::uint32_t samDesired,
                     Key* result) override
    {
        HKEY opened = nullptr;
        const LONG rc = ::RegOpenKeyExA(handleOf(root), subKey, options, samDesired, &opened);
        *result = reinterpret_cast<Key>(opened);
        return rc;
    }

    Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                        std::uint32_t* type, unsigned char* data, std::uint32_t* size) override
    {
        if (reserved)
            return ERROR_INVALID_PARAMETER;
        DWORD valueType = 0;
        DWORD byteCount = size ? *size : 0;
        const LONG rc = ::RegQueryValueExA(handleOf(key), valueName, nullptr, &valueType, data,
                                           size ? &byteCount : nullptr);
        if (type)
            *type = valueType;
        if (size)
            *size = byteCount;
        return rc;
    }

    Status closeKey(Key key) override { return ::RegCloseKey(handleOf(key)); }
};

} // namespace

Registry& Registry::system()
{
    static RegistryWin32 system;
    return system;
}

} // namespace halvane
