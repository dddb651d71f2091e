// Conversions per second through the date table, ICU's Persian calendar on
// the same dates as a reference, and the table's key lookup by its index
// against the scan of the entries that the original program did.
#include "core/DateTable.h"
#include "core/DatesFile.h"
#include "core/ShamsiConv.h"
#include "tests/support/LinearScan.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <vector>

using namespace halvane;

namespace
{

// Every day of 1980 to 2023 as the table engine hands it over.
const std::vector<std::string>& dates()
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> out;
        for (int y = 1980; y <= 2023; ++y)
            for (int m = 1; m <= 12; ++m)
                for (int d = 1; d <= 31; ++d) {
                    char text[16];
                    std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
                    if (renderDate(text) != text)
                        out.emplace_back(text);
                }
        return out;
    }();
    return all;
}

const DateTable& delivered()
{
    static const DateTable table = [] {
        DateTable t;
        loadDateTable(t, std::filesystem::path(HALVANE_DIST_DIR) / "DATES.TXT");
        return t;
    }();
    return table;
}

// The lookup keys of those days: day and month under the representative year.
const std::vector<std::string>& keys()
{
    static const std::vector<std::string> all = [] {
        std::vector<std::string> out;
        for (const std::string& d : dates()) {
            const int year = std::stoi(d.substr(0, 4));
            out.push_back(d.substr(8, 2) + "/" + d.substr(5, 2) + "/" +
                          std::to_string(2000 + (year - 1900) % 4));
        }
        return out;
    }();
    return all;
}

void BM_ShamsiDate(benchmark::State& state)
{
    const auto& all = dates();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(shamsiDate(delivered(), all[i]));
        i = i + 1 == all.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

template <class Lookup> void lookUpAll(benchmark::State& state, Lookup lookup)
{
    const auto& all = keys();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lookup(all[i]));
        i = i + 1 == all.size() ? 0 : i + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_KeyLookup_Index(benchmark::State& state)
{
    lookUpAll(state, [](const std::string& key) { return delivered().find(key); });
}

void BM_KeyLookup_LinearScan(benchmark::State& state)
{
    lookUpAll(state, [](const std::string& key) { return test::linearFind(delivered(), key); });
}

void BM_IcuPersianCalendar(benchmark::State& state)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::GregorianCalendar gregorian(icu::TimeZone::getGMT()->clone(), status);
    std::unique_ptr<icu::Calendar> persian(icu::Calendar::createInstance(
        icu::TimeZone::getGMT()->clone(), icu::Locale("en_US@calendar=persian"), status));
    const auto& all = dates();
    std::size_t i = 0;
    for (auto _ : state) {
        const std::string& d = all[i];
        gregorian.clear();
        gregorian.set(std::stoi(d.substr(0, 4)), std::stoi(d.substr(5, 2)) - 1,
                      std::stoi(d.substr(8, 2)));
        persian->setTime(gregorian.getTime(status), status);
        char text[40];
        std::snprintf(text, sizeof text, "%02d/%02d/%02d", persian->get(UCAL_YEAR, status) % 100,
                      persian->get(UCAL_MONTH, status) + 1, persian->get(UCAL_DATE, status));
        benchmark::DoNotOptimize(text);
        i = i + 1 == all.size() ? 0 : i + 1;
    }
    if (U_FAILURE(status))
        state.SkipWithError(u_errorName(status));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_ShamsiDate);
BENCHMARK(BM_IcuPersianCalendar);
BENCHMARK(BM_KeyLookup_Index);
BENCHMARK(BM_KeyLookup_LinearScan);

} // namespace

BENCHMARK_MAIN();
