// What the conversion answered for the dates of one run, remembered: a
// schedule holds the same few hundred days many times over, and each is
// converted once. The answers are exactly those of the conversion it was made
// for, the date table's shamsiDate() or the Persian calendar's
// exactShamsiDate(), found or not; nothing else about a conversion (such as
// its message) is remembered.
#pragma once

#include "core/DateTable.h"
#include "core/ExactShamsiDate.h"
#include "core/GregorianDate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane
{

class ConversionCache
{
public:
    // Answers from `table`, which must outlive the cache and not change.
    explicit ConversionCache(const DateTable& table) : m_table(&table) {}
    // Answers from the Persian calendar, written as `calendar` says.
    explicit ConversionCache(ExactCalendar calendar) : m_calendar(calendar) {}

    // The conversion's answer for `dateText`. Texts in the engine's form
    // "yyyy-mm-dd" (years 1970 to 2039, around those the table places and
    // those of schedules made today) are converted once; any other text
    // every time. The range keeps the remembered answers within 200 KB, so
    // they stay in the processor's cache.
    std::optional<std::string> shamsiDate(std::string_view dateText);

    // How many texts are remembered at most, and the place of `dateText`
    // among them: for a caller that keeps more about each date beside the
    // answers. Nothing for a text that is not remembered.
    static constexpr std::size_t kSlots = std::size_t(70) * 12 * 31;
    static std::optional<std::size_t> slotOf(std::string_view dateText);
    // The same place for a date read some other way (as from a table's
    // YYYYMMDD bytes, by the million: inline).
    static std::optional<std::size_t> slotOf(const GregorianDate& date)
    {
        const auto [year, month, day] = date;
        if (year < kFirstYear || year >= kFirstYear + kYears || month < 1 || month > 12 ||
            day < 1 || day > 31)
            return std::nullopt;
        return (std::size_t(year - kFirstYear) * 12 + std::size_t(month - 1)) * 31 +
               std::size_t(day - 1);
    }
    // The place of a date field's 8 bytes read as one word (the first byte
    // lowest), as slotOf(*GregorianDate::fromCompact(word)), or kSlots for
    // bytes that have none: the table engine looks up four a record, so
    // this is the least work that gives the same place.
    static constexpr std::size_t slotOfCompact(std::uint64_t word)
    {
        const auto pairs = GregorianDate::compactPairs(word);
        if (!pairs)
            return kSlots;
        // Unsigned: a number below the range wraps above it.
        const std::uint32_t year =
            std::uint32_t(*pairs & 0xFF) * 100 + std::uint32_t(*pairs >> 16 & 0xFF) - kFirstYear;
        const std::uint32_t month = std::uint32_t(*pairs >> 32 & 0xFF) - 1;
        const std::uint32_t day = std::uint32_t(*pairs >> 48) - 1;
        if (year >= std::uint32_t(kYears) || month >= 12 || day >= 31)
            return kSlots;
        return (std::size_t(year) * 12 + month) * 31 + day;
    }

private:
    struct Entry {
        std::array<char, DateTable::kWidth> text;
        std::uint8_t state = 0;  // 0 not yet asked, 1 found, 2 not found
        std::uint8_t length = 0; // of the text found
    };
    static constexpr int kFirstYear = 1970;
    static constexpr int kYears = 70;
    static_assert(kSlots == std::size_t(kYears) * 12 * 31);
    // The entry of a text of the form kept; nullptr for any other text.
    Entry* entryFor(std::string_view dateText);
    std::optional<std::string> convert(std::string_view dateText) const;

    const DateTable* m_table = nullptr; // none: the Persian calendar
    ExactCalendar m_calendar;
    std::vector<Entry> m_entries; // by day, 31 a month; made on first use
};

} // namespace halvane
