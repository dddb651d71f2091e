// Names of files and fields as messages show them. A name comes from the file
// system or from a table, so it may hold control characters (an escape
// sequence, a line end) or bytes that are no UTF-8 (a terminal may take a
// lone 0x9B for the start of an escape sequence), which would garble a
// terminal or a message box: those appear as \xNN. Every other character
// stays as it is, letters of any script included, so a Persian file name
// reads as itself.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace halvane
{

// `text` with every byte that is not part of a printable UTF-8 character
// escaped as \xNN: control characters (C0 0x00 to 0x1F, DEL 0x7F, C1 U+0080
// to U+009F, the line and paragraph separators U+2028 and U+2029), and every
// byte of malformed UTF-8.
std::string displayText(std::string_view text);

// A file's name as messages show it: the path in UTF-8, escaped as above.
std::string displayName(const std::filesystem::path& file);

} // namespace halvane
