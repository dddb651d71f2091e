// Names of files and fields as messages show them. A name comes from the file
// system or from a table, so it may hold control characters (an escape
// sequence, a line end) that would garble a terminal or a message box: those
// appear as \xNN. Every other character stays as it is, letters of any script
// included, so a Persian file name reads as itself.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace halvane
{

// `text` with its control characters escaped: C0 (0x00 to 0x1F), DEL (0x7F),
// and C1 (U+0080 to U+009F) written in UTF-8, as \xNN for each byte.
std::string displayText(std::string_view text);

// A file's name as messages show it: the path in UTF-8, escaped as above.
std::string displayName(const std::filesystem::path& file);

} // namespace halvane
