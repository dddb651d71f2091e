// Reading DATES.TXT into the date correspondence table.
//
// The file is a stream of fields, taken in pairs (key, value) in file order:
//  - a field ends at a comma or a line end (CR LF, and also a lone LF or CR);
//  - spaces and tabs in front of a field are skipped;
//  - a field starting with a double quote runs to the next double quote (the
//    quotes are not part of it); anything between the closing quote and the
//    next comma or line end is ignored;
//  - an unquoted field is everything up to the next comma or line end;
//  - blank lines are skipped (a line end right after a comma still ends an
//    empty field);
//  - a UTF-8 byte-order mark at the start, and an end-of-file mark (Ctrl-Z)
//    are ignored, as text editors write them.
#pragma once

#include "core/DateTable.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace halvane
{

inline constexpr std::string_view kDatesFileName = "DATES.TXT";

// Fills entries 1 to 1747 from `text`; whatever follows the 1747th record is
// never read. Throws Failure 62 (input past end of file) naming `fileName`
// and the record that ended early.
void readDateTable(DateTable& table, std::string_view text, const std::string& fileName);

// The whole file at `path`, as bytes. Throws Failure 53 when it is missing, 70
// when it may not be read, 75 when it is not a regular file or cannot be
// opened, 57 on a read error; the description names the file. The pictures
// the windows load by name are read with it too.
std::string readWholeFile(const std::filesystem::path& path);

// Reads the file at `path` into `table`. Throws
// Failure 53 when the file is missing, 70 when it may not be read, 75 when it
// is not a regular file, 57 on a read error, 62 when it ends early.
void loadDateTable(DateTable& table, const std::filesystem::path& path);

} // namespace halvane
