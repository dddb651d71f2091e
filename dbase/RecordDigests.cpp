#include "dbase/RecordDigests.h"

#include <cstring>

namespace halvane::dbase
{
namespace
{

constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15u, kOdd2 = 0xC2B2AE3D27D4EB4Fu;

std::uint64_t word(const char* bytes)
{
    std::uint64_t w;
    std::memcpy(&w, bytes, 8);
    return w;
}

std::uint64_t finish(std::uint64_t h)
{
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDu;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53u;
    return h ^ (h >> 33);
}

} // namespace

void RecordDigests::clear(std::size_t length)
{
    m_length = length;
    m_tags.clear();
    m_groups.clear();
}

// Two independent lanes of multiply and fold, 16 bytes a step, so that a
// record costs a few cycles per 16 bytes: not cryptographic, but any change
// of a record's bytes changes its hash but for a chance of 2^-64.
std::uint64_t RecordDigests::hash(const char* record) const
{
    std::uint64_t a = kOdd1 ^ m_length, b = kOdd2;
    std::size_t n = m_length;
    const char* p = record;
    for (; n >= 16; n -= 16, p += 16) {
        a = (a ^ word(p)) * kOdd1;
        b = (b ^ word(p + 8)) * kOdd2;
        a ^= a >> 29;
        b ^= b >> 31;
    }
    char tail[16] = {};
    std::memcpy(tail, p, n);
    a = (a ^ word(tail)) * kOdd1;
    b = (b ^ word(tail + 8)) * kOdd2;
    return finish(a ^ (b << 32 | b >> 32));
}

void RecordDigests::add(const char* record)
{
    const std::uint64_t h = hash(record);
    if (m_tags.size() % kGroup == 0)
        m_groups.push_back(0);
    m_groups.back() = (m_groups.back() ^ h) * kOdd1 + 1;
    m_tags.push_back(static_cast<std::uint8_t>(h >> 56));
}

std::optional<RecordDigests::Difference> RecordDigests::Check::next(const char* record)
{
    const RecordDigests& d = m_digests;
    const std::uint32_t index = m_index++;
    if (index >= d.count())
        return std::nullopt;
    const std::uint64_t h = d.hash(record);
    if (static_cast<std::uint8_t>(h >> 56) != d.m_tags[index])
        return Difference{index, index};
    m_group = (m_group ^ h) * kOdd1 + 1;
    if (index + 1 != d.count() && (index + 1) % kGroup != 0)
        return std::nullopt;
    const std::uint64_t got = m_group;
    m_group = 0;
    if (got == d.m_groups[index / kGroup])
        return std::nullopt;
    return Difference{index / kGroup * kGroup, index};
}

} // namespace halvane::dbase
