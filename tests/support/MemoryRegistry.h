// A registry held in memory, standing in for the registry in tests: keys with
// the access they grant, typed values with their exact bytes, and a count of
// opened and closed handles. It answers like advapi32: key paths and value names
// compare without regard to ASCII case, data that does not fit the caller's
// buffer gives kMoreData with the needed size.
#pragma once

#include "system/Registry.h"

#include <map>
#include <string>
#include <string_view>

namespace halvane::test
{

class MemoryRegistry final : public Registry
{
public:
    // Creates the key `path` below `root` (and its parents) if it is missing,
    // and lets it be opened with any access within `grantedAccess`.
    void addKey(Key root, std::string_view path, std::uint32_t grantedAccess = reg::kAllAccess);
    // Sets a value (creating its key); `data` is stored byte for byte.
    void setValue(Key root, std::string_view path, std::string_view name, std::uint32_t type,
                  std::string data);
    // A text value (REG_SZ), stored with or without its closing zero.
    void setText(Key root, std::string_view path, std::string_view name, std::string_view text,
                 bool closingZero = true);
    // A 32-bit number (REG_DWORD), four bytes, low byte first.
    void setDword(Key root, std::string_view path, std::string_view name, std::uint32_t number);
    void removeValue(Key root, std::string_view path, std::string_view name);

    Status openKeyEx(Key root, const char* subKey, std::uint32_t options, std::uint32_t samDesired,
                     Key* result) override;
    Status queryValueEx(Key key, const char* valueName, std::uint32_t* reserved,
                        std::uint32_t* type, unsigned char* data, std::uint32_t* size) override;
    Status closeKey(Key key) override;

    // Handles opened so far, and closed again.
    int opens() const { return m_opens; }
    int closes() const { return m_closes; }
    // Close calls for a handle that was not open (a null handle after a
    // failed open, or one closed twice).
    int strayCloses() const { return m_strayCloses; }
    // Handles open now.
    std::size_t openHandles() const { return m_handles.size(); }

private:
    struct Value {
        std::uint32_t type;
        std::string data;
    };
    struct KeyEntry {
        std::uint32_t grantedAccess = reg::kAllAccess;
        std::map<std::string, Value> values; // by lower-case name
    };

    // The full lower-case path of `sub` below `root`; empty when `root` is
    // neither a predefined root nor an open handle.
    std::string resolve(Key root, std::string_view sub) const;
    KeyEntry& entry(Key root, std::string_view path);

    std::map<std::string, KeyEntry> m_keys; // by full lower-case path
    std::map<Key, std::string> m_handles;   // open handles and their key
    Key m_nextHandle = 0x1000;
    int m_opens = 0;
    int m_closes = 0;
    int m_strayCloses = 0;
};

} // namespace halvane::test
