// Tables and data shared by the run and command-line tests: a small schedule
// table, the same table with a field missing or too narrow, and the delivered
// date correspondence table.
#pragma once

#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "tests/support/TableBuilder.h"

#include <algorithm>
#include <filesystem>

namespace halvane::test
{

// Three records of scheduleFields(); the destinations hold "old".
TableBuilder threeRecords();

// `table` without the field `name` (and its values).
TableBuilder withoutField(TableBuilder table, const std::string& name);

// `table` with the field `name` holding `width` characters.
TableBuilder withWidth(TableBuilder table, const std::string& name, unsigned width);

const DateTable& deliveredDates();

} // namespace halvane::test
