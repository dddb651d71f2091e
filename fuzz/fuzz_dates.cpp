// Fuzzes the DATES.TXT reader and the lookup index: any bytes either load or
// fail with input past end of file, and a loaded table's index answers what
// the linear scan answers for every key the table holds and for the start of
// the text itself taken as a key.
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "system/Failure.h"
#include "tests/support/LinearScan.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace halvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    DateTable table;
    try {
        readDateTable(table, text, "DATES.TXT");
    } catch (const Failure& f) {
        if (f.number() != err::InputPastEnd)
            std::abort();
        return 0;
    }
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k) {
        const std::string key = upperAscii(table.key(k));
        if (table.find(key) != test::linearFind(table, key))
            std::abort();
    }
    const std::string start = upperAscii(text.substr(0, DateTable::kWidth));
    if (table.find(start) != test::linearFind(table, start))
        std::abort();
    return 0;
}
