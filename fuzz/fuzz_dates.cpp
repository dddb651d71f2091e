// Fuzzes the DATES.TXT reader and the lookup index: any bytes either load or
// fail with input past end of file, and a loaded table's index answers what
// the linear scan answers for every key the table holds and for the keys of
// the conversion.
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "core/Failure.h"
#include "core/ShamsiConv.h"

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
    DateTable scanned = table;
    table.buildIndex();
    for (int k = DateTable::kFirst; k <= DateTable::kLast; ++k) {
        const std::string key = upperAscii(table.key(k));
        if (table.find(key) != scanned.findLinear(key))
            std::abort();
    }
    // The conversion of the text's own start, as a date, must agree too.
    const auto K = conversionSteps(text.substr(0, 16)).K;
    if (table.find(K) != scanned.findLinear(K))
        std::abort();
    return 0;
}
