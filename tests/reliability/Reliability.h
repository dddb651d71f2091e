// What the reliability tests share: a run as the windowed program does it,
// with no pictures, and the checks of the promises made about the table.
#pragma once

#include "core/ShamsiConv.h"
#include "dbase/DataControl.h"
#include "run/ConversionRun.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ScheduleTables.h"
#include "tests/support/TableChecks.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

namespace halvane::test
{

struct NoPictures final : run::RunDisplay {
    void showPicture(std::string_view) override {}
    void focusRunButton() override {}
};

// The data control, remembering the record set it handed out last, so a test
// can ask where the run stood when it failed.
struct WatchedControl final : dbase::RecordSetSource {
    explicit WatchedControl(const std::filesystem::path& file)
        : control(file, dbase::Access::ReadWrite)
    {
        control.Refresh();
    }
    dbase::RecordSet* Recordset() override { return last = control.Recordset(); }

    dbase::DataControl control;
    dbase::RecordSet* last = nullptr;
};

// One run over `file`; the failure it ended with, if any.
inline std::optional<Failure> runOnce(dbase::RecordSetSource& source)
{
    NoPictures display;
    try {
        run::convertTable(source, display, [](std::string_view, std::string_view text) {
            return shamsiDate(deliveredDates(), text).value_or("");
        });
    } catch (const Failure& f) {
        return f;
    }
    return std::nullopt;
}

// The bytes of destination field `name` of record `r` (0 for the first).
inline std::string destination(const std::string& file, const dbase::TableLayout& layout,
                               std::uint32_t r, std::string_view name)
{
    const auto* f = layout.find(name);
    return file.substr(recordAt(layout, r) + f->offset, f->width);
}

// How the destinations of `after` relate to the same table `before` and
// after a complete run (`complete`). A destination that the complete run
// changes is old, new, or torn (neither); a record is saved with one write,
// so its changed destinations must be all new or all old.
struct DestinationStates {
    int oldFields = 0, newFields = 0, tornFields = 0;
    int mixedRecords = 0;      // some destinations new, others old
    long newRecords = 0;       // records with every changed destination new
    long newPrefix = 0;        // records before the first one left old
    bool prefixThenOld = true; // no saved record after one left old
};

inline DestinationStates destinationStates(const std::string& before, const std::string& complete,
                                           const std::string& after,
                                           const dbase::TableLayout& layout)
{
    DestinationStates s;
    bool seenOld = false;
    for (std::uint32_t r = 0; r < layout.recordCount; ++r) {
        int changed = 0, isNew = 0, isOld = 0;
        for (const auto& [source, name] : kFieldPairs) {
            const auto b = destination(before, layout, r, name);
            const auto c = destination(complete, layout, r, name);
            const auto a = destination(after, layout, r, name);
            if (b == c)
                continue;
            ++changed;
            if (a == c)
                ++isNew;
            else if (a == b)
                ++isOld;
            else
                ++s.tornFields;
        }
        s.newFields += isNew;
        s.oldFields += isOld;
        if (isNew && isOld)
            ++s.mixedRecords;
        if (changed && isNew == changed) {
            ++s.newRecords;
            if (seenOld)
                s.prefixThenOld = false;
        }
        if (changed && isOld == changed)
            seenOld = true;
        if (!seenOld)
            ++s.newPrefix;
    }
    return s;
}

// Waits until a run over `file` has saved, at or after record `from` (0 for
// the first), a destination that the complete run changes (`before` and
// `complete` are the table before and after it): the moment a run is known
// to be in the middle of its walk, whatever its start-up took. False when
// the run ended first, or after 30 s.
inline bool waitForSave(ChildProcess& run, const std::filesystem::path& file,
                        const std::string& before, const std::string& complete,
                        const dbase::TableLayout& layout, std::uint32_t from)
{
    std::uint64_t at = 0;
    std::string old;
    for (std::uint32_t r = from; r < layout.recordCount && old.empty(); ++r)
        for (const auto& [source, name] : kFieldPairs)
            if (destination(before, layout, r, name) != destination(complete, layout, r, name)) {
                at = recordAt(layout, r) + layout.find(name)->offset;
                old = destination(before, layout, r, name);
                break;
            }
    if (old.empty())
        return false;
    std::ifstream watched(file, std::ios::binary);
    std::string now(old.size(), '\0');
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (run.running() && std::chrono::steady_clock::now() < deadline) {
        watched.clear();
        watched.seekg(std::streamoff(at));
        if (watched.read(now.data(), std::streamsize(now.size())) && now != old)
            return true;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return false;
}

// The table read back by dbfread, a reader that shares nothing with ours.
// A Windows build runs its tests under Wine, which cannot start the host's
// Python: there the native build's run of the same tests reads them back.
inline void expectIndependentReaderOpens(const std::vector<std::filesystem::path>& files)
{
#ifdef HALVANE_PYTHON3
    std::string command =
        std::string(HALVANE_PYTHON3) +
        " -c 'import sys, dbfread\nfor p in sys.argv[1:]: "
        "list(dbfread.DBF(p, encoding=\"cp1256\", ignore_missing_memofile=True))'";
    for (const auto& f : files)
        command += " '" + f.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << "dbfread could not read every table";
#else
    (void)files;
#endif
}

} // namespace halvane::test
