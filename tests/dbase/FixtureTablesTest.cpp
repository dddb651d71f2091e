// Tables written by other dBASE software (python3-dbf and GDAL's ogr2ogr, see
// tests/data/dbase/make-fixtures.sh): read as written, their field
// descriptors as shapelib (an independent reader) reads them, and filled
// without a byte changing outside the destination fields and the header's
// date.
#include "dbase/DbfRecordSet.h"
#if HALVANE_SHAPELIB
#include "tests/support/ShapelibReader.h"
#endif
#include "tests/support/TableChecks.h"

#include <gtest/gtest.h>

using namespace halvane;
using namespace halvane::test;
using dbase::DbfRecordSet;
using dbase::FieldValue;

namespace
{

using Dates = std::array<FieldValue, 4>; // ES, EF, ES_T1, EF_T1
const FieldValue kNull = std::nullopt;

// The records as make-fixtures.sh writes them.
const std::vector<Dates> kScheduleDates = {
    {"2001-03-21", "2001-04-01", "1999-12-31", "2000-02-29"},
    {"1980-03-20", "2023-12-31", kNull, kNull},
    {kNull, kNull, kNull, kNull},
    {"2004-01-01", "2004-01-02", "2003-03-21", "2003-03-20"},
    {"1979-12-31", "2024-01-01", "1900-01-01", "2099-12-31"},
    {"2002-09-23", kNull, kNull, kNull},
    {"2000-01-01", "2000-01-01", kNull, "2000-01-01"},      // ES_T1 stored as 00000000
    {"2001-01-01", "20010230", "2001-01-01", "2001-01-01"}, // EF: not a date
};
// "پروژه برنامه" in code page 1256.
const std::string kPersianTask = "\x81\xD1\xE6\x8E\xE5 \xC8\xD1\xE4\xC7\xE3\xE5";

struct Fixture {
    const char* file;
    std::size_t records;
    std::vector<std::size_t> deleted; // 0-based
};

class FixtureTable : public testing::TestWithParam<Fixture>
{
};

TEST_P(FixtureTable, ReadsEveryRecordAsWritten)
{
    TempDir dir;
    const auto file = copyFixture(dir, GetParam().file);
    auto set = DbfRecordSet::open(file);
    ASSERT_EQ(set->RecordCount(), long(GetParam().records));
#if HALVANE_SHAPELIB
    EXPECT_EQ(shapelibDisagreement(readFile(file), set->layout()), "");
#endif
    set->MoveLast();
    set->MoveFirst();
    std::size_t index = 0;
    for (; !set->Eof(); set->MoveNext(), ++index) {
        SCOPED_TRACE("record " + std::to_string(index + 1));
        for (std::size_t i = 0; i < kFieldPairs.size(); ++i)
            EXPECT_EQ(set->Field(kFieldPairs[i].first), kScheduleDates[index][i])
                << kFieldPairs[i].first;
        if (index == 0) {
            EXPECT_EQ(set->Field("TASK"), kPersianTask);
        }
        if (index == 1) {
            EXPECT_EQ(set->Field("SHES"), "old value");
        }
    }
    EXPECT_EQ(index, GetParam().records);
}

TEST_P(FixtureTable, FillChangesOnlyDestinationsAndTheDate)
{
    TempDir dir;
    const auto file = copyFixture(dir, GetParam().file);
    const auto memo = std::filesystem::path(file).replace_extension(".dbt");
    const std::string memoBefore = std::filesystem::exists(memo) ? readFile(memo) : "";
    const auto [before, after, layout, changed] = fillFile(file);
    EXPECT_EQ(changed, std::vector<long>{});
    EXPECT_EQ(after.substr(1, 3), GetParam().records ? todayStamp() : before.substr(1, 3));
    EXPECT_EQ(std::filesystem::exists(memo) ? readFile(memo) : "", memoBefore);
    for (std::size_t r = 0; r < GetParam().records; ++r) {
        const bool deleted = std::find(GetParam().deleted.begin(), GetParam().deleted.end(), r) !=
                             GetParam().deleted.end();
        EXPECT_EQ(after[recordAt(layout, std::uint32_t(r))], deleted ? '*' : ' ');
        for (std::size_t i = 0; i < kFieldPairs.size(); ++i) {
            const auto* f = layout.find(kFieldPairs[i].second);
            std::string expected = walkText(kScheduleDates[r][i]);
            expected.resize(f->width, ' ');
            EXPECT_EQ(after.substr(recordAt(layout, std::uint32_t(r)) + f->offset, f->width),
                      expected)
                << "record " << r + 1 << " " << kFieldPairs[i].second;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Writers, FixtureTable,
    testing::Values(Fixture{"pydbf-memo.dbf", 8, {3}}, Fixture{"pydbf-plain.dbf", 8, {1, 3}},
                    Fixture{"pydbf-one.dbf", 1, {}}, Fixture{"pydbf-empty.dbf", 0, {}},
                    Fixture{"ogr-schedule.dbf", 6, {3}}, Fixture{"ogr-one.dbf", 1, {}},
                    Fixture{"ogr-empty.dbf", 0, {}}),
    [](const auto& p) {
        std::string name = p.param.file;
        std::erase(name, '-');
        return name.substr(0, name.find('.'));
    });

} // namespace
