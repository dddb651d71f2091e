// The reference lookup the date table's index must always agree with: a scan
// of the entries from 1 upwards, comparing all 10 characters of each key in
// upper case.
#pragma once

#include "core/DateTable.h"

#include <algorithm>
#include <string_view>

namespace halvane::test
{

inline int linearFind(const DateTable& table, std::string_view upperKey)
{
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k)
        if (upperAscii(table.key(k)) == upperKey)
            return k;
    return 0;
}

} // namespace halvane::test
