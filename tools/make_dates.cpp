// Writes DATES.TXT: one record per day for the 1747 consecutive days from
// 1 January 2000, as "dd/mm/yyyy,yy/mm/dd" with CR LF line ends, where the
// value is that day's Shamsi date (two-digit year) from ICU's Persian
// calendar. Usage: make-dates [OUTPUT]   (standard output without OUTPUT)
#include <cstdio>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>

namespace
{

constexpr int kRecords = 1747;

bool fail(const char* what, UErrorCode status)
{
    std::fprintf(stderr, "make-dates: %s: %s\n", what, u_errorName(status));
    return false;
}

bool writeDates(std::FILE* out)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar gregorian(icu::TimeZone::getGMT()->clone(), status);
    std::unique_ptr<icu::Calendar> persian(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("en_US@calendar=persian"), status));
    if (U_FAILURE(status))
        return fail("cannot create the calendars", status);

    gregorian.clear();
    gregorian.set(2000, UCAL_JANUARY, 1, 12, 0, 0);
    for (int i = 0; i < kRecords; ++i) {
        persian->setTime(gregorian.getTime(status), status);
        const int gd = gregorian.get(UCAL_DATE, status);
        const int gm = gregorian.get(UCAL_MONTH, status) + 1;
        const int gy = gregorian.get(UCAL_YEAR, status);
        const int py = persian->get(UCAL_YEAR, status);
        const int pm = persian->get(UCAL_MONTH, status) + 1;
        const int pd = persian->get(UCAL_DATE, status);
        if (U_FAILURE(status))
            return fail("cannot read a date", status);
        std::fprintf(out, "%02d/%02d/%04d,%02d/%02d/%02d\r\n", gd, gm, gy, py % 100, pm, pd);
        gregorian.add(UCAL_DATE, 1, status);
    }
    return std::fflush(out) == 0 && !std::ferror(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: make-dates [OUTPUT]\n");
        return 2;
    }
    std::FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = writeDates(out);
    if (argc == 2 && std::fclose(out) != 0)
        return 1;
    return ok ? 0 : 1;
}
