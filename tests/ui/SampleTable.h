// SHAMSI tables for the window tests, written byte by byte as dBASE IV
// writes them, and their fields read back exactly as stored.
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::test
{

struct SampleRecord {
    std::string activity;
    // ES, EF, ES_T1, EF_T1 as "yyyymmdd"; "" for an empty date.
    std::array<std::string, 4> dates;
};

// Writes a table with the fields ACTIVITY (C 20), ES, EF, ES_T1, EF_T1 (D),
// SHES, SHEF, SHTS, SHTF (C 10), the destinations filled with "old".
void writeShamsiTable(const std::filesystem::path& file, const std::vector<SampleRecord>& records);

// The stored text of field `name` in record `record` (0 for the first), with
// its padding.
std::string storedField(const std::filesystem::path& file, int record, std::string_view name);

} // namespace halvane::test
