#include "tests/support/TableChecks.h"

#include <algorithm>

namespace halvane::test
{

void expectFailure(const std::function<void()>& body, int number,
                   const std::vector<std::string>& parts)
{
    try {
        body();
    } catch (const Failure& f) {
        EXPECT_EQ(f.number(), number) << f.description();
        for (const auto& part : parts)
            EXPECT_NE(f.description().find(part), std::string::npos)
                << "'" << part << "' missing in: " << f.description();
        return;
    }
    ADD_FAILURE() << "no failure, expected number " << number;
}

std::filesystem::path copyFixture(const TempDir& dir, const std::string& name)
{
    const std::filesystem::path data = std::filesystem::path(HALVANE_TEST_DATA) / "dbase";
    auto memo = std::filesystem::path(name).replace_extension(".dbt");
    if (std::filesystem::exists(data / memo))
        std::filesystem::copy_file(data / memo, dir / memo.string());
    std::filesystem::copy_file(data / name, dir / name);
    return dir / name;
}

std::string walkText(const dbase::FieldValue& source)
{
    if (!source || source->empty())
        return " ";
    std::string text = *source;
    std::erase(text, '-');
    return "D" + text.substr(0, 9);
}

void fillWalk(dbase::RecordSet& set)
{
    set.MoveLast();
    set.MoveFirst();
    while (!set.Eof()) {
        set.Edit();
        for (const auto& [source, destination] : kFieldPairs)
            set.SetField(destination, walkText(set.Field(source)));
        set.Update();
        set.MoveNext();
    }
    set.Flush();
}

std::vector<bool> writableBytes(const dbase::TableLayout& layout, std::size_t fileSize)
{
    std::vector<bool> writable(fileSize, false);
    for (std::size_t i = 1; i <= 3; ++i)
        writable[i] = true;
    for (std::uint32_t r = 0; r < layout.recordCount; ++r)
        for (const auto& [source, name] : kFieldPairs)
            if (const auto* f = layout.find(name))
                for (std::uint32_t b = 0; b < f->width; ++b)
                    if (recordAt(layout, r) + f->offset + b < fileSize)
                        writable[recordAt(layout, r) + f->offset + b] = true;
    return writable;
}

std::vector<long> changedOutside(const std::string& before, const std::string& after,
                                 const std::vector<bool>& writable)
{
    std::vector<long> changed;
    if (before.size() != after.size())
        changed.push_back(-1);
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        if (before[i] != after[i] && !(i < writable.size() && writable[i]))
            changed.push_back(long(i));
    return changed;
}

Filled fillFile(const std::filesystem::path& file)
{
    Filled filled;
    filled.before = readFile(file);
    {
        auto set = dbase::DbfRecordSet::open(file, dbase::Access::ReadWrite);
        fillWalk(*set);
        filled.layout = set->layout();
    }
    filled.after = readFile(file);
    filled.changedOutside = changedOutside(filled.before, filled.after,
                                           writableBytes(filled.layout, filled.after.size()));
    return filled;
}

std::string todayStamp()
{
    const LocalDate date = today();
    return {char(date.year - 1900), char(date.month), char(date.day)};
}

} // namespace halvane::test
