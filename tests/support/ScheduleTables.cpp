#include "tests/support/ScheduleTables.h"

#include <algorithm>

namespace halvane::test
{

TableBuilder threeRecords()
{
    TableBuilder table;
    table.add(scheduleRecord("20000321", "", "20010321", "20020321"));
    table.add(scheduleRecord("20000322", "20000323"));
    table.add(scheduleRecord("20000324", "20000325"));
    return table;
}

TableBuilder withoutField(TableBuilder table, const std::string& name)
{
    const auto at = std::find_if(table.fields.begin(), table.fields.end(),
                                 [&](const FieldSpec& f) { return f.name == name; });
    const auto index = at - table.fields.begin();
    table.fields.erase(at);
    for (auto& r : table.records)
        if (index < std::ptrdiff_t(r.size()))
            r.erase(r.begin() + index);
    return table;
}

TableBuilder withWidth(TableBuilder table, const std::string& name, unsigned width)
{
    for (auto& f : table.fields)
        if (f.name == name)
            f.width = width;
    return table;
}

const DateTable& deliveredDates()
{
    static const DateTable table = [] {
        DateTable t;
        loadDateTable(t, std::filesystem::path(HALVANE_DIST_DIR) / "DATES.TXT");
        return t;
    }();
    return table;
}

} // namespace halvane::test
