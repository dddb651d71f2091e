// What the walk remembers of each record, and how the end of a run finds the
// first record that no longer holds it: by the record's own 8 bits, or, when
// a change keeps those, by its group's hash.
#include "dbase/RecordDigests.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

using halvane::dbase::RecordDigests;

namespace
{

constexpr std::size_t kLength = 37; // not a multiple of 8: the tail counts too

std::vector<std::string> records(std::size_t n)
{
    std::vector<std::string> out;
    for (std::size_t r = 0; r < n; ++r) {
        std::string record(kLength, ' ');
        for (std::size_t i = 0; i < kLength; ++i)
            record[i] = char('0' + (r * 7 + i) % 43);
        out.push_back(record);
    }
    return out;
}

RecordDigests digestsOf(const std::vector<std::string>& all)
{
    RecordDigests digests;
    digests.clear(kLength);
    for (const auto& r : all)
        digests.add(r.data());
    return digests;
}

// The first difference the check reports over `now`, as [first, last].
std::optional<std::pair<std::uint32_t, std::uint32_t>> check(const RecordDigests& digests,
                                                             const std::vector<std::string>& now)
{
    RecordDigests::Check c(digests);
    for (const auto& r : now)
        if (const auto d = c.next(r.data()))
            return std::pair(d->first, d->last);
    return std::nullopt;
}

TEST(RecordDigests, TheSameRecordsPassAndAnyOneByteChangedIsFoundInItsRecord)
{
    const auto before = records(2 * RecordDigests::kGroup + 5);
    const RecordDigests digests = digestsOf(before);
    EXPECT_EQ(digests.count(), before.size());
    EXPECT_EQ(check(digests, before), std::nullopt);
    int exact = 0;
    for (const std::uint32_t r : {0u, 1023u, 1024u, 2052u})
        for (std::size_t at : {std::size_t(0), kLength / 2, kLength - 1}) {
            auto now = before;
            now[r][at] ^= 0x01;
            const auto found = check(digests, now);
            ASSERT_TRUE(found) << "record " << r << " byte " << at;
            // Its own 8 bits tell the record, but for a chance of 1 in 256;
            // its group's hash tells it in any case.
            EXPECT_LE(found->first, r);
            EXPECT_GE(found->second, r);
            exact += found->first == r && found->second == r;
        }
    EXPECT_GE(exact, 10);
}

// Whatever the record length (every way its last bytes are taken in), a
// record with any one byte changed is found, in its place or by its group.
TEST(RecordDigests, AChangedByteIsFoundInRecordsOfEveryLength)
{
    for (std::size_t length = 1; length <= 140; ++length) {
        std::string record(length, ' ');
        for (std::size_t i = 0; i < length; ++i)
            record[i] = char('A' + i % 26);
        RecordDigests digests;
        digests.clear(length);
        digests.add(record.data());
        ASSERT_FALSE(RecordDigests::Check(digests).next(record.data())) << length;
        for (std::size_t at = 0; at < length; ++at)
            for (const char flip : {'\x01', '\x80'}) {
                std::string now = record;
                now[at] ^= flip;
                const auto found = RecordDigests::Check(digests).next(now.data());
                ASSERT_TRUE(found) << "length " << length << ", byte " << at;
                EXPECT_EQ(found->first, 0u);
            }
    }
}

// A change that keeps the record's 8 bits is still found, by the group's
// hash, and named as the range of the group it lies in.
TEST(RecordDigests, AChangeThatKeepsTheRecordsBitsIsFoundByItsGroup)
{
    const auto before = records(3);
    const RecordDigests digests = digestsOf(before);
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            auto now = before;
            now[1][3] = char(a);
            now[1][30] = char(b);
            if (now == before)
                continue;
            RecordDigests::Check c(digests);
            ASSERT_FALSE(c.next(now[0].data()));
            if (c.next(now[1].data()))
                continue; // its own bits differ: found at once
            const auto found = c.next(now[2].data());
            ASSERT_TRUE(found);
            EXPECT_EQ(found->first, 0u);
            EXPECT_EQ(found->last, 2u);
            return;
        }
    FAIL() << "no change found that keeps a record's 8 bits";
}

TEST(RecordDigests, ClearForgetsEveryRecord)
{
    RecordDigests digests = digestsOf(records(10));
    digests.clear(kLength);
    EXPECT_EQ(digests.count(), 0u);
    EXPECT_EQ(check(digests, records(10)), std::nullopt) << "nothing to compare";
}

} // namespace

// The walk hashes the records it left a block at a time, and the check reads
// the table again in blocks of its own: any split into blocks, at group
// boundaries or across them, keeps what one-by-one hashing finds.
class InBlocks : public testing::TestWithParam<std::uint32_t>
{
};

TEST_P(InBlocks, GiveWhatOneByOneGives)
{
    const std::uint32_t block = GetParam();
    const auto before = records(2 * RecordDigests::kGroup + 5);
    std::string lying; // the records one after another, as in a read block
    for (const auto& r : before)
        lying += r;
    const auto count = static_cast<std::uint32_t>(before.size());
    auto blocked = [&](const std::string& bytes, auto&& step) {
        for (std::uint32_t first = 0; first < count; first += block)
            if (step(bytes.data() + std::size_t(first) * kLength, std::min(block, count - first)))
                return;
    };
    RecordDigests digests;
    digests.clear(kLength);
    blocked(lying, [&](const char* at, std::uint32_t n) { return digests.add(at, n), false; });
    ASSERT_EQ(digests.count(), count);
    const RecordDigests single = digestsOf(before);

    for (const std::uint32_t r : {0u, block - 1, block, 1023u, 1024u, count - 1}) {
        if (r >= count)
            continue;
        for (const bool changed : {false, true}) {
            auto now = before;
            std::string nowLying = lying;
            if (changed) {
                now[r][kLength / 2] ^= 0x20;
                nowLying[std::size_t(r) * kLength + kLength / 2] ^= 0x20;
            }
            RecordDigests::Check c(digests);
            std::optional<std::pair<std::uint32_t, std::uint32_t>> found;
            blocked(nowLying, [&](const char* at, std::uint32_t n) {
                if (const auto d = c.next(at, n))
                    found = std::pair(d->first, d->last);
                return found.has_value();
            });
            EXPECT_EQ(found, check(single, now)) << "block " << block << ", record " << r;
            EXPECT_EQ(found.has_value(), changed) << "block " << block << ", record " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, InBlocks, testing::Values(1u, 7u, 1024u, 1025u, 3000u));
