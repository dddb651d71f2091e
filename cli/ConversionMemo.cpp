#include "ConversionMemo.h"

#include "ShamsiConv.h"

namespace halvane::cli
{
namespace
{

constexpr long kFirstYear = 1900;
constexpr long kYears = 200;
constexpr long kSlots = kYears * 12 * 31;

bool digit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

long ConversionMemo::slot(std::string_view t)
{
    if (t.size() != 10 || t[4] != '-' || t[7] != '-')
        return -1;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!digit(t[i]))
            return -1;
    const long year = (t[0] - '0') * 1000 + (t[1] - '0') * 100 + (t[2] - '0') * 10 + (t[3] - '0');
    const long month = (t[5] - '0') * 10 + (t[6] - '0');
    const long day = (t[8] - '0') * 10 + (t[9] - '0');
    if (year < kFirstYear || year >= kFirstYear + kYears || month < 1 || month > 12 || day < 1 ||
        day > 31)
        return -1;
    return ((year - kFirstYear) * 12 + month - 1) * 31 + day - 1;
}

std::optional<std::string> ConversionMemo::shamsiDate(std::string_view dateText)
{
    const long at = slot(dateText);
    if (at < 0)
        return halvane::shamsiDate(m_table, dateText);
    if (m_answers.empty())
        m_answers.resize(kSlots);
    Answer& answer = m_answers[std::size_t(at)];
    if (answer.state == 0) {
        auto result = halvane::shamsiDate(m_table, dateText);
        if (!result) {
            answer.state = 1;
        } else if (result->size() <= answer.text.size()) {
            answer.state = 2;
            answer.length = std::uint8_t(result->size());
            result->copy(answer.text.data(), result->size());
        } // else: too long to keep, asked again next time (never so with 10-character slots)
        return result;
    }
    if (answer.state == 1)
        return std::nullopt;
    return std::string(answer.text.data(), answer.length);
}

} // namespace halvane::cli
