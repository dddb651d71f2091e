#include "tests/support/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace halvane::test
{
namespace
{

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return out;
}

std::string_view rootName(Registry::Key root)
{
    return root == reg::kLocalMachine ? "hkey_local_machine" : "";
}

} // namespace

std::string MemoryRegistry::resolve(Key root, std::string_view sub) const
{
    std::string base(rootName(root));
    if (base.empty()) {
        auto open = m_handles.find(root);
        if (open == m_handles.end())
            return {};
        base = open->second;
    }
    while (!sub.empty() && sub.front() == '\\')
        sub.remove_prefix(1);
    while (!sub.empty() && sub.back() == '\\')
        sub.remove_suffix(1);
    return sub.empty() ? base : base + '\\' + lower(sub);
}

MemoryRegistry::KeyEntry& MemoryRegistry::entry(Key root, std::string_view path)
{
    std::string full = resolve(root, path);
    for (auto cut = full.find('\\'); cut != std::string::npos; cut = full.find('\\', cut + 1))
        m_keys.try_emplace(full.substr(0, cut));
    return m_keys[full];
}

void MemoryRegistry::addKey(Key root, std::string_view path, std::uint32_t grantedAccess)
{
    entry(root, path).grantedAccess = grantedAccess;
}

void MemoryRegistry::setValue(Key root, std::string_view path, std::string_view name,
                              std::uint32_t type, std::string data)
{
    entry(root, path).values[lower(name)] = Value{type, std::move(data)};
}

void MemoryRegistry::setText(Key root, std::string_view path, std::string_view name,
                             std::string_view text, bool closingZero)
{
    std::string data(text);
    if (closingZero)
        data.push_back('\0');
    setValue(root, path, name, reg::kTypeSz, std::move(data));
}

void MemoryRegistry::setDword(Key root, std::string_view path, std::string_view name,
                              std::uint32_t number)
{
    std::string data(4, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>((number >> (8 * i)) & 0xFFu);
    setValue(root, path, name, reg::kTypeDword, std::move(data));
}

void MemoryRegistry::removeValue(Key root, std::string_view path, std::string_view name)
{
    auto key = m_keys.find(resolve(root, path));
    if (key != m_keys.end())
        key->second.values.erase(lower(name));
}

Registry::Status MemoryRegistry::openKeyEx(Key root, const char* subKey, std::uint32_t options,
                                           std::uint32_t samDesired, Key* result)
{
    if (!result)
        return reg::kInvalidParameter;
    *result = 0;
    if (options != 0)
        return reg::kInvalidParameter;
    std::string full = resolve(root, subKey ? subKey : "");
    if (full.empty())
        return reg::kInvalidHandle;
    auto key = m_keys.find(full);
    if (key == m_keys.end())
        return reg::kFileNotFound;
    if ((samDesired & ~key->second.grantedAccess) != 0)
        return reg::kAccessDenied;
    *result = m_nextHandle++;
    m_handles.emplace(*result, full);
    ++m_opens;
    return reg::kSuccess;
}

Registry::Status MemoryRegistry::queryValueEx(Key key, const char* valueName,
                                              std::uint32_t* reserved, std::uint32_t* type,
                                              unsigned char* data, std::uint32_t* size)
{
    if (reserved || (data && !size))
        return reg::kInvalidParameter;
    std::string full = resolve(key, "");
    if (full.empty())
        return reg::kInvalidHandle;
    auto found = m_keys.find(full);
    if (found == m_keys.end())
        return reg::kFileNotFound;
    auto value = found->second.values.find(lower(valueName ? valueName : ""));
    if (value == found->second.values.end())
        return reg::kFileNotFound;

    const std::string& bytes = value->second.data;
    if (type)
        *type = value->second.type;
    if (!size)
        return reg::kSuccess;
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (data && *size < needed) {
        *size = needed;
        return reg::kMoreData;
    }
    if (data)
        std::memcpy(data, bytes.data(), bytes.size());
    *size = needed;
    return reg::kSuccess;
}

Registry::Status MemoryRegistry::closeKey(Key key)
{
    if (!rootName(key).empty())
        return reg::kSuccess;
    if (m_handles.erase(key) == 0) {
        ++m_strayCloses;
        return reg::kInvalidHandle;
    }
    ++m_closes;
    return reg::kSuccess;
}

} // namespace halvane::test
