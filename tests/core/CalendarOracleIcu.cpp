// ICU's Persian calendar, the second of the independent calendars; kept
// apart from the arithmetic one since builds without ICU leave it out.
#include "CalendarOracle.h"

#include <memory>
#include <stdexcept>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>

namespace halvane::test
{

Ymd persianIcu(Ymd g)
{
    UErrorCode status = U_ZERO_ERROR;
    static std::unique_ptr<icu::Calendar> gregorian(
        new icu::GregorianCalendar(icu::TimeZone::getGMT()->clone(), status));
    static std::unique_ptr<icu::Calendar> persian(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("en_US@calendar=persian"), status));
    gregorian->clear();
    gregorian->set(g.y, g.m - 1, g.d, 12, 0, 0);
    persian->setTime(gregorian->getTime(status), status);
    Ymd p{persian->get(UCAL_YEAR, status), persian->get(UCAL_MONTH, status) + 1,
          persian->get(UCAL_DATE, status)};
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    return p;
}

} // namespace halvane::test
