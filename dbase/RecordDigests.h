// What a walk left in each record, kept small: 8 bits of every record's hash
// and a 64-bit hash of every group of records. One read of the file at the
// end of a run then proves that it holds, record by record, what the run read
// and what it wrote, and names the first record where it does not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace halvane::dbase
{

class RecordDigests
{
public:
    // Records per group hash.
    static constexpr std::uint32_t kGroup = 1024;

    // Forgets every record; records are `length` bytes from now on, and
    // about `expected` of them will be added: room is made for them at once,
    // so the memory used never grows to twice what they need.
    void clear(std::size_t length, std::uint32_t expected = 0);
    // The next `n` records (0, 1, 2, ... in turn), lying one after another
    // at `records`, as the walk left them.
    void add(const char* records, std::uint32_t n = 1);
    // Records added.
    std::uint32_t count() const { return static_cast<std::uint32_t>(m_tags.size()); }

    // Where a record read again differs: record `first` (0 for the first),
    // or, when only a group's hash shows it, somewhere in [first, last].
    struct Difference {
        std::uint32_t first;
        std::uint32_t last;
    };

    // Compares the records as the file holds them now with those added,
    // fed in order from record 0.
    class Check
    {
    public:
        explicit Check(const RecordDigests& digests) : m_digests(digests) {}
        // The next `n` records as read now, lying one after another at
        // `records`; the first difference seen, if any.
        std::optional<Difference> next(const char* records, std::uint32_t n = 1);

    private:
        const RecordDigests& m_digests;
        std::uint32_t m_index = 0;
        std::uint64_t m_group = 0;
    };

private:
    std::uint64_t hash(const char* record) const;

    std::size_t m_length = 0;
    std::vector<std::uint8_t> m_tags;    // per record
    std::vector<std::uint64_t> m_groups; // per full group, and the group being filled
};

} // namespace halvane::dbase
