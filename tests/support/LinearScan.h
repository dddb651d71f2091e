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
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k) {
        const std::string_view key = table.key(k);
        if (key.size() == upperKey.size() &&
            std::equal(key.begin(), key.end(), upperKey.begin(),
                       [&](char a, char b) { return upper(a) == b; }))
            return k;
    }
    return 0;
}

} // namespace halvane::test
