// The layout of a dBASE III/IV table as its header describes it: version,
// record count and length, and where each field lies in a record. Reading it
// checks the header against the file, so that a table the engine accepts can
// be walked without reading or writing outside its records.
#pragma once

#include "dbase/FileIo.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace halvane::dbase
{

struct FieldLayout {
    std::string name; // as stored, without padding
    char type = 'C';  // the dBASE type letter: C, D, N, F, L, M, ...
    std::uint32_t width = 0;
    std::uint32_t offset = 0; // from the start of the record (byte 0 is the deletion flag)
};

struct TableLayout {
    // Version bytes the dBASE IV driver reads: dBASE III/IV, each with or
    // without a memo file.
    static constexpr unsigned char kAccepted[] = {0x03, 0x83, 0x8B, 0xCB};

    unsigned char version = 0;
    std::array<char, 3> lastUpdate{}; // YY (since 1900), MM, DD
    std::uint32_t recordCount = 0;
    std::uint32_t headerLength = 0;
    std::uint32_t recordLength = 0;
    std::vector<FieldLayout> fields;
    std::string header; // the header's bytes as read, field descriptors included

    // The field called `name`, compared without regard to ASCII case as the
    // dBASE driver does; nullptr when there is none.
    const FieldLayout* find(std::string_view name) const;
    std::uint64_t recordOffset(std::uint32_t index) const
    {
        return headerLength + std::uint64_t(index) * recordLength;
    }
};

// Reads and checks the header of the open table `file` (`fileSize` bytes,
// named `name` in messages). Throws Failure: 3343 (unrecognized database
// format) for an empty or foreign file, another version, a table marked as
// encrypted or as changed by an incomplete transaction, an inconsistent or
// truncated header, broken field descriptors, or fewer records in the file
// than the header claims; an I/O failure as ioFailure says.
TableLayout readTableLayout(FileIo& io, FileIo::Handle file, const std::filesystem::path& name,
                            std::uint64_t fileSize);

} // namespace halvane::dbase
