#include "CalendarOracle.h"

#include <cstdio>

namespace halvane::test
{
namespace
{

long divT(long a, long b)
{
    return a / b;
} // truncating, as the method is written
long modT(long a, long b)
{
    return a - divT(a, b) * b;
}

struct JalCal {
    long leap, gy, march;
};

// Years at which the 33-year cycle of Persian leap years is broken.
JalCal jalCal(long jy)
{
    static constexpr long breaks[] = {-61,  9,    38,   199,  426,  686,  756,  818,  1111, 1181,
                                      1210, 1635, 2060, 2097, 2192, 2262, 2324, 2394, 2456, 3178};
    const long gy = jy + 621;
    long leapJ = -14, jp = breaks[0], jump = 0;
    for (std::size_t i = 1; i < std::size(breaks); ++i) {
        const long jm = breaks[i];
        jump = jm - jp;
        if (jy < jm)
            break;
        leapJ += divT(jump, 33) * 8 + divT(modT(jump, 33), 4);
        jp = jm;
    }
    long n = jy - jp;
    leapJ += divT(n, 33) * 8 + divT(modT(n, 33) + 3, 4);
    if (modT(jump, 33) == 4 && jump - n == 4)
        leapJ += 1;
    const long leapG = divT(gy, 4) - divT((divT(gy, 100) + 1) * 3, 4) - 150;
    const long march = 20 + leapJ - leapG;
    if (jump - n < 6)
        n = n - jump + divT(jump + 4, 33) * 33;
    long leap = modT(modT(n + 1, 33) - 1, 4);
    if (leap == -1)
        leap = 4;
    return {leap, gy, march};
}

} // namespace

long dayNumber(Ymd g)
{
    long d = divT((g.y + divT(g.m - 8, 6) + 100100) * 1461, 4) +
             divT(153 * modT(g.m + 9, 12) + 2, 5) + g.d - 34840408;
    return d - divT(divT(g.y + 100100 + divT(g.m - 8, 6), 100) * 3, 4) + 752;
}

Ymd gregorianOf(long day)
{
    long j = 4 * day + 139361631;
    j = j + divT(divT(4 * day + 183187720, 146097) * 3, 4) * 4 - 3908;
    const long i = divT(modT(j, 1461), 4) * 5 + 308;
    const long gd = divT(modT(i, 153), 5) + 1;
    const long gm = modT(divT(i, 153), 12) + 1;
    const long gy = divT(j, 1461) - 100100 + divT(8 - gm, 6);
    return {int(gy), int(gm), int(gd)};
}

Ymd persianArithmetic(Ymd g)
{
    const long day = dayNumber(g);
    long jy = g.y - 621;
    const JalCal r = jalCal(jy);
    long k = day - dayNumber({int(g.y), 3, int(r.march)});
    if (k >= 0) {
        if (k <= 185)
            return {int(jy), int(1 + divT(k, 31)), int(modT(k, 31) + 1)};
        k -= 186;
    } else {
        jy -= 1;
        k += 179;
        if (r.leap == 1)
            k += 1;
    }
    return {int(jy), int(7 + divT(k, 30)), int(modT(k, 30) + 1)};
}

std::string iso(Ymd date)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.y, date.m, date.d);
    return buffer;
}

} // namespace halvane::test
