#include "core/ConversionCache.h"

#include "core/ShamsiConv.h"

#include <cstring>

namespace halvane
{
std::optional<std::size_t> ConversionCache::slotOf(std::string_view dateText)
{
    // A slot for every year, month and day number of the range, real day or
    // not: the cache only remembers what the conversion answered.
    const auto date = GregorianDate::fromIso(dateText);
    if (!date)
        return std::nullopt;
    return slotOf(*date);
}

ConversionCache::Entry* ConversionCache::entryFor(std::string_view dateText)
{
    const auto slot = slotOf(dateText);
    if (!slot)
        return nullptr;
    if (m_entries.empty())
        m_entries.resize(kSlots);
    return &m_entries[*slot];
}

std::optional<std::string> ConversionCache::convert(std::string_view dateText) const
{
    return m_table ? halvane::shamsiDate(*m_table, dateText)
                   : exactShamsiDate(dateText, m_calendar.fourDigitYear);
}

std::optional<std::string> ConversionCache::shamsiDate(std::string_view dateText)
{
    // The original converts every date anew; remembering the answers gives
    // the same results at a fraction of the cost.
    std::optional<std::string> result; // the one object returned: built in place
    Entry* entry = entryFor(dateText);
    if (entry && entry->state == 0) {
        result = convert(dateText);
        if (!result) {
            entry->state = 2;
        } else if (result->size() <= entry->text.size()) {
            std::copy(result->begin(), result->end(), entry->text.begin());
            entry->length = static_cast<std::uint8_t>(result->size());
            entry->state = 1;
        }
        return result;
    }
    if (!entry)
        result = convert(dateText);
    else if (entry->state == 1) {
        // A copy of a bounded size compiles to a few moves.
        result.emplace(entry->length, ' ');
        std::memcpy(result->data(), entry->text.data(), entry->length);
    }
    return result;
}

} // namespace halvane
