#include "core/DateTable.h"

#include "system/Failure.h"

#include <algorithm>
#include <cstring>

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

std::size_t DateTable::hashKey(const char* key) noexcept
{
    std::uint64_t head;
    std::uint16_t tail;
    std::memcpy(&head, key, sizeof head);
    std::memcpy(&tail, key + sizeof head, sizeof tail);
    const std::uint64_t h = (head ^ (std::uint64_t{tail} << 48) ^ tail) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::size_t>(h >> 52); // the top 12 bits: 4096 places
}

int DateTable::find(std::string_view upperKey) const
{
    if (upperKey.size() != kWidth)
        return 0; // a slot always holds 10 characters
    if (m_index.empty())
        buildIndex();
    for (std::size_t i = hashKey(upperKey.data());; i = (i + 1) % kIndexPlaces) {
        const IndexPlace& place = m_index[i];
        if (place.k == 0)
            return 0;
        if (std::memcmp(place.key.data(), upperKey.data(), kWidth) == 0)
            return place.k;
    }
}

void DateTable::buildIndex() const
{
    m_index.assign(kIndexPlaces, IndexPlace{{}, 0});
    for (int k = kFirst; k <= kLast; ++k) { // ascending, so the earliest entry of a key stays
        Slot key;
        std::transform(m_keys[static_cast<std::size_t>(k)].begin(),
                       m_keys[static_cast<std::size_t>(k)].end(), key.begin(), upper);
        for (std::size_t i = hashKey(key.data());; i = (i + 1) % kIndexPlaces) {
            IndexPlace& place = m_index[i];
            if (place.k == 0) {
                place = {key, static_cast<std::int16_t>(k)};
                break;
            }
            if (place.key == key)
                break;
        }
    }
}

} // namespace halvane
