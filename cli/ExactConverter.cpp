#include "cli/ExactConverter.h"

#include "core/ExactShamsiDate.h"
#include "core/ShamsiConv.h"

#include <utility>

namespace halvane::cli
{
namespace
{

// What the engine keeps of a text it stores: trailing spaces do not count.
std::string stored(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

ExactConverter::ExactConverter(const DateTable& table, std::string tableFile, bool fourDigitYear,
                               bool listDifferences)
    : m_table(table), m_fourDigitYear(fourDigitYear),
      m_differences(std::move(tableFile), listDifferences)
{
}

std::optional<std::string> ExactConverter::convert(long record, std::string_view field,
                                                   std::string_view dateText)
{
    auto exact = exactShamsiDate(dateText, m_fourDigitYear);
    // The dates compared, not the lengths of their years.
    const auto twoDigit = m_fourDigitYear ? exactShamsiDate(dateText, false) : exact;
    auto table = shamsiDate(m_table, dateText);
    if (table)
        table = stored(std::move(*table));
    if (table != twoDigit)
        m_differences.add(record, field, dateText, table, exact);
    return exact;
}

} // namespace halvane::cli
