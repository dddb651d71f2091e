// Helpers shared by the dbase tests: expecting a failure, walking a table as
// the conversion run does, and telling which bytes of a file changed.
#pragma once

#include "DbfRecordSet.h"
#include "Failure.h"
#include "TempDir.h"

#include <array>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvane::test
{

inline constexpr std::array<const char*, 4> kDestinations = {"SHES", "SHEF", "SHTS", "SHTF"};
inline constexpr std::array<const char*, 4> kSources = {"ES", "EF", "ES_T1", "EF_T1"};

// Runs `body`, which must throw a Failure numbered `number` whose description
// holds every one of `parts`.
inline void expectFailure(const std::function<void()>& body, int number,
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

// Copies a fixture table (and its memo file, if any) into `dir`.
inline std::filesystem::path copyFixture(const TempDir& dir, const std::string& name)
{
    const std::filesystem::path data = std::filesystem::path(HALVANE_TEST_DATA) / "dbase";
    auto memo = std::filesystem::path(name).replace_extension(".dbt");
    if (std::filesystem::exists(data / memo))
        std::filesystem::copy_file(data / memo, dir / memo.string());
    std::filesystem::copy_file(data / name, dir / name);
    return dir / name;
}

// What a walk writes into destination `i` of a record: the source's ISO date
// without its dashes (10 characters at most), or a single space when empty.
inline std::string walkText(const dbase::FieldValue& source)
{
    if (!source || source->empty())
        return " ";
    std::string text = *source;
    std::erase(text, '-');
    return "D" + text.substr(0, 9);
}

// Walks every record as the run does: Edit, the four pairs, Update, MoveNext.
inline void fillWalk(dbase::RecordSet& set)
{
    set.MoveLast();
    set.MoveFirst();
    while (!set.Eof()) {
        set.Edit();
        for (std::size_t i = 0; i < kSources.size(); ++i)
            set.SetField(kDestinations[i], walkText(set.Field(kSources[i])));
        set.Update();
        set.MoveNext();
    }
    set.Flush();
}

// The byte ranges of a file that a walk may change: the header's last-update
// date and the destination fields of every record.
inline std::vector<bool> writableBytes(const dbase::TableLayout& layout, std::size_t fileSize)
{
    std::vector<bool> writable(fileSize, false);
    for (std::size_t i = 1; i <= 3; ++i)
        writable[i] = true;
    for (std::uint32_t r = 0; r < layout.recordCount; ++r)
        for (const char* name : kDestinations)
            if (const auto* f = layout.find(name))
                for (std::uint32_t b = 0; b < f->width; ++b)
                    writable[layout.recordOffset(r) + f->offset + b] = true;
    return writable;
}

// Offsets where `before` and `after` differ outside the writable bytes (and
// any difference in length, as offset -1).
inline std::vector<long> changedOutside(const std::string& before, const std::string& after,
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

// Today's date as a dBASE header stores it: years since 1900, month, day.
inline std::string todayStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {char(local.tm_year), char(local.tm_mon + 1), char(local.tm_mday)};
}

} // namespace halvane::test
