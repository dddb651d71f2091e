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

// Four independent lanes, each step a multiply by an odd constant after
// taking a word in, then adding the next word (each a bijection, so two
// records that differ in one word leave a lane different), 64 bytes a step,
// then mixed into one value: fewer than one instruction a byte. Not
// cryptographic, but any change of a record's bytes changes its hash but
// for a chance of about 2^-64.
std::uint64_t RecordDigests::hash(const char* record) const
{
    std::uint64_t a = kOdd1 ^ m_length, b = kOdd2, c = kOdd3, d = kOdd4;
    std::size_t n = m_length;
    const char* p = record;
    auto step = [](std::uint64_t lane, const char* at, std::uint64_t odd) {
        return (lane ^ word(at)) * odd + word(at + 8);
    };
    for (; n >= 64; n -= 64, p += 64) {
        a = step(a, p, kOdd1);
        b = step(b, p + 16, kOdd2);
        c = step(c, p + 32, kOdd3);
        d = step(d, p + 48, kOdd4);
    }
    if (n >= 32) {
        a = step(a, p, kOdd1);
        b = step(b, p + 16, kOdd2);
        p += 32;
        n -= 32;
    }
    if (n >= 16) {
        c = step(c, p, kOdd3);
        p += 16;
        n -= 16;
    }
    if (n >= 8) {
        d = (d ^ word(p)) * kOdd4;
        n -= 8;
    }
    if (n != 0) {
        // The last bytes, as the top of the record's last 8 (or, in a record
        // shorter than 8, one by one).
        std::uint64_t last = 0;
        if (m_length >= 8) {
            last = word(record + m_length - 8) >> (64 - 8 * n);
        } else {
            for (std::size_t i = 0; i < m_length; ++i)
                last |= std::uint64_t(static_cast<unsigned char>(record[i])) << (8 * i);
        }
        a = (a ^ last) * kOdd1;
    }
    auto rotate = [](std::uint64_t x, int r) { return x << r | x >> (64 - r); };
    return finish(a ^ rotate(b, 16) ^ rotate(c, 32) ^ rotate(d, 48));
}

void RecordDigests::add(const char* records, std::uint32_t n)
{
    for (const char* record = records; n-- > 0; record += m_length) {
        const std::uint64_t h = hash(record);
        if (m_tags.size() % kGroup == 0)
            m_groups.push_back(0);
        m_groups.back() = (m_groups.back() ^ h) * kOdd1 + 1;
        m_tags.push_back(static_cast<std::uint8_t>(h >> 56));
    }
}

std::optional<RecordDigests::Difference> RecordDigests::Check::next(const char* records,
                                                                    std::uint32_t n)
{
    const RecordDigests& d = m_digests;
    for (const char* record = records; n-- > 0; record += d.m_length) {
        const std::uint32_t index = m_index++;
        if (index >= d.count())
            return std::nullopt;
        const std::uint64_t h = d.hash(record);
        if (static_cast<std::uint8_t>(h >> 56) != d.m_tags[index])
            return Difference{index, index};
        m_group = (m_group ^ h) * kOdd1 + 1;
        if (index + 1 != d.count() && (index + 1) % kGroup != 0)
            continue;
        const std::uint64_t got = m_group;
        m_group = 0;
        if (got != d.m_groups[index / kGroup])
            return Difference{index / kGroup * kGroup, index};
    }
    return std::nullopt;
}

} // namespace halvane::dbase
