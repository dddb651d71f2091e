#include "DateTable.h"

#include "Failure.h"

#include <algorithm>

namespace halvane
{
namespace
{

DateTable::Slot fixedWidth(std::string_view text)
{
    DateTable::Slot slot;
    slot.fill(' ');
    std::copy_n(text.begin(), std::min(text.size(), slot.size()), slot.begin());
    return slot;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string upperAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), upper);
    return out;
}

DateTable::DateTable()
{
    Slot blank;
    blank.fill(' ');
    m_keys.fill(blank);
    m_values.fill(blank);
}

void DateTable::store(int k, std::string_view key, std::string_view value)
{
    if (k < kFirst || k > kLast)
        throw Failure(err::InvalidCall,
                      "Date table entry " + std::to_string(k) + " is out of range");
    m_keys[static_cast<std::size_t>(k)] = fixedWidth(key);
    m_values[static_cast<std::size_t>(k)] = fixedWidth(value);
    m_index.clear();
}

int DateTable::findLinear(std::string_view upperKey) const
{
    if (upperKey.size() != kWidth)
        return 0; // a slot always holds 10 characters
    for (int k = kFirst; k <= kLast; ++k) {
        const Slot& slot = m_keys[static_cast<std::size_t>(k)];
        if (std::equal(slot.begin(), slot.end(), upperKey.begin(),
                       [](char a, char b) { return upper(a) == b; }))
            return k;
    }
    return 0;
}

int DateTable::find(std::string_view upperKey) const
{
    if (m_index.empty())
        return findLinear(upperKey);
    auto it = m_index.find(upperKey);
    return it == m_index.end() ? 0 : it->second;
}

std::size_t DateTable::KeyHash::operator()(std::string_view key) const noexcept
{
    std::size_t h = 14695981039346656037ull; // FNV-1a: keys are 10 bytes, nothing more is needed
    for (char c : key)
        h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

void DateTable::buildIndex()
{
    m_index.clear();
    m_index.reserve(kLast);
    for (int k = kFirst; k <= kLast; ++k) // ascending, so the earliest entry of a key stays
        m_index.try_emplace(upperAscii(key(k)), k);
}

} // namespace halvane
