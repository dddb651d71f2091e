// Writes the reference the tests hold the product's Persian calendar to where
// ICU is missing: the Gregorian date of 1 Farvardin, from ICU's Persian
// calendar, of every Shamsi year the product covers and of the year after,
// one line each as "yyyy yyyy-mm-dd" (Shamsi year, Gregorian date), after a
// comment header of lines starting with "#".
// Usage: make-nowruz [OUTPUT]   (standard output without OUTPUT)
#include "core/PersianCalendar.h"

#include <cstdio>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>

namespace
{

// The years the product covers, and the one after, whose first day ends the
// last of them.
constexpr int kFirstYear = halvane::PersianCalendar::kFirstYear;
constexpr int kEndYear = halvane::PersianCalendar::kLastYear + 1;

bool fail(const char* what, UErrorCode status)
{
    std::fprintf(stderr, "make-nowruz: %s: %s\n", what, u_errorName(status));
    return false;
}

bool writeNewYears(std::FILE* out)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar gregorian(icu::TimeZone::getGMT()->clone(), status);
    std::unique_ptr<icu::Calendar> persian(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("en_US@calendar=persian"), status));
    if (U_FAILURE(status))
        return fail("cannot create the calendars", status);

    std::fprintf(out,
                 "# 1 Farvardin of Shamsi years %d to %d, from ICU's Persian calendar\n"
                 "# (tools/make_nowruz.cpp): Shamsi year, Gregorian date.\n",
                 kFirstYear, kEndYear);
    for (int year = kFirstYear; year <= kEndYear; ++year) {
        persian->clear();
        persian->set(year, UCAL_JANUARY, 1, 12, 0, 0); // month 0 of the calendar: Farvardin
        gregorian.setTime(persian->getTime(status), status);
        const int gy = gregorian.get(UCAL_YEAR, status);
        const int gm = gregorian.get(UCAL_MONTH, status) + 1;
        const int gd = gregorian.get(UCAL_DATE, status);
        if (U_FAILURE(status))
            return fail("cannot read a date", status);
        std::fprintf(out, "%04d %04d-%02d-%02d\n", year, gy, gm, gd);
    }
    return std::fflush(out) == 0 && !std::ferror(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::fprintf(stderr, "usage: make-nowruz [OUTPUT]\n");
        return 2;
    }
    std::FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = writeNewYears(out);
    if (argc == 2 && std::fclose(out) != 0)
        return 1;
    return ok ? 0 : 1;
}
