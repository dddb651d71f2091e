// The date correspondence table: 1747 pairs of fixed-width texts (a key, the
// Gregorian day "dd/mm/yyyy", and a value whose tail completes the Shamsi
// date text), held in two parallel arrays of 1751 ten-character slots.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace halvane
{

class DateTable
{
public:
    static constexpr int kSlots = 1751; // slots 0 to 1750
    static constexpr int kFirst = 1;    // entries 1 to 1747 are filled
    static constexpr int kLast = 1747;
    static constexpr std::size_t kWidth = 10;
    using Slot = std::array<char, kWidth>;

    DateTable();

    // Stores entry k (1 to 1747) by the fixed-width rule: a shorter text is
    // padded on the right with spaces, a longer one keeps its first 10
    // characters.
    void store(int k, std::string_view key, std::string_view value);

    // Always all 10 characters, trailing spaces included.
    std::string_view key(int k) const { return view(m_keys.at(static_cast<std::size_t>(k))); }
    std::string_view value(int k) const { return view(m_values.at(static_cast<std::size_t>(k))); }

    // The earliest entry k whose upper-cased 10-character key equals
    // `upperKey` exactly, or 0 when none does: what a scan of the entries
    // from 1 upwards finds. `upperKey` must already be in upper case.
    //
    // Answered from an index built at the first lookup after the table was
    // last stored to, not by scanning: a run converts up to four dates per
    // record, and the index answers about twenty times faster.
    int find(std::string_view upperKey) const;

private:
    static std::string_view view(const Slot& s) { return {s.data(), s.size()}; }

    std::array<Slot, kSlots> m_keys;
    std::array<Slot, kSlots> m_values;
    // The index: open addressing over a power-of-two array, keys stored in
    // place, so a lookup touches one or two cache lines. k == 0 marks a free
    // place. Holds each distinct upper-cased key once, with its earliest entry.
    struct IndexPlace {
        Slot key;
        std::int16_t k;
    };
    static constexpr std::size_t kIndexPlaces = 4096; // more than twice the entries
    static std::size_t hashKey(const char* key) noexcept;
    void buildIndex() const;
    mutable std::vector<IndexPlace> m_index; // empty until built
};

// ASCII upper case, as the table's keys and lookup keys are compared.
std::string upperAscii(std::string_view text);

} // namespace halvane
