// Helpers shared by the dbase tests: expecting a failure, walking a table as
// the conversion run does, and telling which bytes of a file changed.
#pragma once

#include "system/Clock.h"
#include "system/Failure.h"
#include "dbase/DbfRecordSet.h"
#include "run/ConversionRun.h"
#include "tests/support/TempDir.h"

#include <array>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace halvane::test
{

using run::kFieldPairs;
// The run's source and destination fields, in the order it fills them.
inline constexpr std::array<std::string_view, 4> kSources = {
    run::kFieldPairs[0].first, run::kFieldPairs[1].first, run::kFieldPairs[2].first,
    run::kFieldPairs[3].first};
inline constexpr std::array<std::string_view, 4> kDestinations = {
    run::kFieldPairs[0].second, run::kFieldPairs[1].second, run::kFieldPairs[2].second,
    run::kFieldPairs[3].second};

// Where record `r` starts in a table's bytes held in memory (the layout
// counts in 64 bits, as a file may be larger than memory).
inline std::size_t recordAt(const dbase::TableLayout& layout, std::uint32_t r)
{
    return static_cast<std::size_t>(layout.recordOffset(r));
}

// Runs `body`, which must throw a Failure numbered `number` whose description
// holds every one of `parts`.
void expectFailure(const std::function<void()>& body, int number,
                   const std::vector<std::string>& parts);

// Copies a fixture table (and its memo file, if any) into `dir`.
std::filesystem::path copyFixture(const TempDir& dir, const std::string& name);

// What a walk writes into destination `i` of a record: the source's ISO date
// without its dashes (10 characters at most), or a single space when empty.
std::string walkText(const dbase::FieldValue& source);

// Walks every record as the run does: Edit, the four pairs, Update, MoveNext.
void fillWalk(dbase::RecordSet& set);

// The byte ranges of a file of `fileSize` bytes that a walk may change: the
// header's last-update date and the destination fields of every record.
std::vector<bool> writableBytes(const dbase::TableLayout& layout, std::size_t fileSize);

// Offsets where `before` and `after` differ outside the writable bytes (and
// any difference in length, as offset -1).
std::vector<long> changedOutside(const std::string& before, const std::string& after,
                                 const std::vector<bool>& writable);

// A walk over the table `file` and what it did to the file.
struct Filled {
    std::string before;
    std::string after;
    dbase::TableLayout layout;
    // Offsets changed outside the destinations and the header's date: none
    // is the promise.
    std::vector<long> changedOutside;
};

Filled fillFile(const std::filesystem::path& file);

// Today's date as a dBASE header stores it: years since 1900, month, day.
std::string todayStamp();

} // namespace halvane::test
