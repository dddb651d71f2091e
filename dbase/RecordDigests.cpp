#include "dbase/RecordDigests.h"

#include <cstring>

namespace halvane::dbase
{
namespace
{

constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15u, kOdd2 = 0xC2B2AE3D27D4EB4Fu,
                        kOdd3 = 0x165667B19E3779F9u, kOdd4 = 0xD6E8FEB86659FD93u;

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

void RecordDigests::clear(std::size_t length, std::uint32_t expected)
{
    m_length = length;
    m_tags.clear();
    m_groups.clear();
    m_tags.reserve(expected);
    m_groups.reserve(expected / kGroup + 1);
}

// Four independent lanes, each a multiply by an odd constant after taking a
// word in (a bijection, so two records that differ leave the lanes
// different), 32 bytes a step, then mixed into one value: a few cycles per
// 32 bytes. Not cryptographic, but any change of a record's bytes changes
// its hash but for a chance of about 2^-64.
std::uint64_t RecordDigests::hash(const char* record) const
{
    std::uint64_t a = kOdd1 ^ m_length, b = kOdd2, c = kOdd3, d = kOdd4;
    std::size_t n = m_length;
    const char* p = record;
    for (; n >= 32; n -= 32, p += 32) {
        a = (a ^ word(p)) * kOdd1;
        b = (b ^ word(p + 8)) * kOdd2;
        c = (c ^ word(p + 16)) * kOdd3;
        d = (d ^ word(p + 24)) * kOdd4;
    }
    if (n >= 8) {
        a = (a ^ word(p)) * kOdd1;
        if (n >= 16)
            b = (b ^ word(p + 8)) * kOdd2;
        if (n >= 24)
            c = (c ^ word(p + 16)) * kOdd3;
    }
    if (n % 8 != 0) {
        // The last bytes, as the top of the record's last 8 (or, in a record
        // shorter than 8, one by one).
        std::uint64_t last = 0;
        if (m_length >= 8) {
            last = word(record + m_length - 8) >> (64 - 8 * (n % 8));
        } else {
            for (std::size_t i = 0; i < m_length; ++i)
                last |= std::uint64_t(static_cast<unsigned char>(record[i])) << (8 * i);
        }
        d = (d ^ last) * kOdd4;
    }
    auto rotate = [](std::uint64_t x, int r) { return x << r | x >> (64 - r); };
    return finish(a ^ rotate(b, 16) ^ rotate(c, 32) ^ rotate(d, 48));
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
