// Names in messages: control characters escaped, every letter kept.
#include "system/DisplayName.h"
#include "system/Platform.h"

#include <gtest/gtest.h>

using namespace halvane;

namespace
{

TEST(DisplayName, EscapesControlCharactersAndBytesThatAreNoUtf8)
{
    struct Case {
        std::string text, shown;
        bool utf8 = true; // bytes that are no UTF-8 cannot name a file on Windows
    };
    const Case cases[] = {
        {"Shamsi.dbf", "Shamsi.dbf"},
        {"C:\\Shamsi.dbf", "C:\\Shamsi.dbf"},
        {"a\x1b[31mb\n.dbf", "a\\x1B[31mb\\x0A.dbf"},
        {std::string("nul\0tab\tdel\x7f", 12), "nul\\x00tab\\x09del\\x7F"},
        {"csi\xC2\x9B"
         "2J",
         "csi\\xC2\\x9B2J"}, // U+009B, a C1 control
        {"\xD8\xB4\xD9\x85\xD8\xB3\xDB\x8C.dbf", "\xD8\xB4\xD9\x85\xD8\xB3\xDB\x8C.dbf"}, // Persian
        {"\xC2\xA0nbsp \xC2", "\xC2\xA0nbsp \\xC2", false}, // a sequence cut at the end
        // A lone 0x9B is CSI to a terminal that reads 8-bit controls.
        {"a\x9B"
         "2Jb.dbf",
         "a\\x9B2Jb.dbf", false},
        {"\xFF\xFE", "\\xFF\\xFE", false},                         // never UTF-8
        {"\xC0\xAF", "\\xC0\\xAF", false},                         // an overlong '/'
        {"\xED\xA0\x80", "\\xED\\xA0\\x80", false},                 // a surrogate
        {"\xE2\x80", "\\xE2\\x80", false},                         // cut short
        {"line\xE2\x80\xA8sep", "line\\xE2\\x80\\xA8sep"},     // U+2028
        {"\xF0\x9F\x93\x85 \xE2\x80\x8C", "\xF0\x9F\x93\x85 \xE2\x80\x8C"}, // emoji, ZWNJ kept
    };
    for (const auto& [text, shown, utf8] : cases) {
        EXPECT_EQ(displayText(text), shown);
        // A file's name is UTF-8 inside the program, UTF-16 on Windows.
        if (utf8) {
            EXPECT_EQ(displayName(platform::pathFromUtf8(text)), shown) << text;
        }
    }
}

} // namespace
