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
      m_differences(std::move(tableFile), listDifferences), m_exact(ExactCalendar{fourDigitYear})
{
}

std::optional<std::string> ExactConverter::convert(long record, std::string_view field,
                                                   std::string_view dateText, bool* sameAsTable)
{
    bool same = true;
    bool& agreed = sameAsTable ? *sameAsTable : same;
    agreed = true;
    auto exact = m_exact.shamsiDate(dateText);
    std::uint8_t* compared = nullptr;
    if (const auto slot = ConversionCache::slotOf(dateText)) {
        if (m_compared.empty())
            m_compared.resize(ConversionCache::kSlots);
        compared = &m_compared[*slot];
        if (*compared == 1)
            return exact;
    }
    auto table = shamsiDate(m_table, dateText);
    if (table)
        table = stored(std::move(*table));
    if (!compared || *compared == 0) {
        // The dates compared, not the lengths of their years.
        const auto twoDigit = m_fourDigitYear ? exactShamsiDate(dateText, false) : exact;
        const bool differs = table != twoDigit;
        if (compared)
            *compared = differs ? 2 : 1;
        if (!differs)
            return exact;
    }
    agreed = false;
    m_differences.add(record, field, dateText, table, exact);
    return exact;
}

} // namespace halvane::cli
