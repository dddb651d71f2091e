// shamsi-dates --exact: dates converted by the Persian calendar instead of
// the date table, in the shape the table method writes, and compared with
// what the table method would have written.
#pragma once

#include "cli/DifferenceList.h"
#include "core/ConversionCache.h"
#include "core/DateTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::cli
{

class ExactConverter
{
public:
    // `table` is the loaded date table, `tableFile` its file's name; the
    // differences are listed at the end only when `listDifferences`.
    ExactConverter(const DateTable& table, std::string tableFile, bool fourDigitYear,
                   bool listDifferences);

    // The text for the destination of `field` in record `record`, or nothing
    // when the date cannot be converted. A date whose text differs from the
    // table method's (trailing spaces aside, as the engine stores them; the
    // year in two digits in either case) is added to the differences.
    // `sameAsTable`, when given, is set to whether the table method gives
    // the same date, so that nothing was listed (and asking again about the
    // same text would list nothing either).
    std::optional<std::string> convert(long record, std::string_view field,
                                       std::string_view dateText, bool* sameAsTable = nullptr);

    DifferenceList& differences() { return m_differences; }

private:
    const DateTable& m_table;
    bool m_fourDigitYear;
    DifferenceList m_differences;
    // A schedule repeats its days: the calendar's answers are remembered, and
    // by ConversionCache::slotOf whether the table's differs (0 not yet
    // compared, 1 the same, 2 different).
    ConversionCache m_exact;
    std::vector<std::uint8_t> m_compared;
};

} // namespace halvane::cli
