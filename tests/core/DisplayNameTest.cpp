// Names in messages: control characters escaped, every letter kept.
#include "core/DisplayName.h"
#include "core/Platform.h"

#include <gtest/gtest.h>

using namespace halvane;

namespace
{

TEST(DisplayName, EscapesControlCharactersOnly)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Shamsi.dbf", "Shamsi.dbf"},
        {"C:\\Shamsi.dbf", "C:\\Shamsi.dbf"},
        {"a\x1b[31mb\n.dbf", "a\\x1B[31mb\\x0A.dbf"},
        {std::string("nul\0tab\tdel\x7f", 12), "nul\\x00tab\\x09del\\x7F"},
        {"csi\xC2\x9B"
         "2J",
         "csi\\xC2\\x9B2J"}, // U+009B, a C1 control
        {"\xD8\xB4\xD9\x85\xD8\xB3\xDB\x8C.dbf", "\xD8\xB4\xD9\x85\xD8\xB3\xDB\x8C.dbf"}, // Persian
        {"\xC2\xA0nbsp \xC2", "\xC2\xA0nbsp \xC2"},
        {"\x9B", "\x9B"}, // a lone byte of another code page is not UTF-8's C1
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(displayText(text), shown);
        // A file's name is UTF-8 inside the program; bytes that are no UTF-8
        // cannot name a file on Windows, whose names are UTF-16.
        const bool utf8 = text.find("\xC2", text.size() - 1) == std::string::npos &&
                          text != "\x9B";
        if (utf8) {
            EXPECT_EQ(displayName(platform::pathFromUtf8(text)), shown) << text;
        }
    }
}

} // namespace
