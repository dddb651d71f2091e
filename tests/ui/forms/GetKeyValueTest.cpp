// Reading one registry value as text: the trimming of the closing zero, the
// 1024-byte limit, the value types, and the closing of the key on every path.
#include "system/Failure.h"
#include "tests/ui/forms/SysInfoSeams.h"
#include "ui/forms/SysInfo.h"

#include <functional>

namespace halvane::test
{
namespace
{

using reg::kLocalMachine;
constexpr const char* kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kValue = "PATH";
const std::string kBefore = "as it was";

enum class Result { Read, NotRead, Fails };

struct ReadCase {
    const char* name;
    std::function<void(MemoryRegistry&)> arrange;
    Result result;
    std::string keyVal; // KeyVal afterwards
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

void text(MemoryRegistry& r, std::string_view value, bool closingZero = true)
{
    r.setText(kLocalMachine, kKey, kValue, value, closingZero);
}

const std::string k1023(1023, 'x');
const std::string k1024(1024, 'y');

const ReadCase kReadCases[] = {
    {"TextWithClosingZero", [](auto& r) { text(r, "C:\\Tools\\msinfo32.exe"); }, Result::Read,
     "C:\\Tools\\msinfo32.exe"},
    {"TextWithoutClosingZero", [](auto& r) { text(r, "C:\\Tools\\msinfo32.exe", false); },
     Result::Read, "C:\\Tools\\msinfo32.exe"},
    {"EmptyTextWithClosingZero", [](auto& r) { text(r, ""); }, Result::Read, ""},
    {"OneCharacterWithoutZero", [](auto& r) { text(r, "x", false); }, Result::Read, "x"},
    // Only the last byte is taken for the closing zero; one inside stays.
    {"TextEndingInTwoZeros", [](auto& r) { text(r, std::string("abc\0", 4)); }, Result::Read,
     std::string("abc\0", 4)},
    {"NoDataAtAll", [](auto& r) { text(r, "", false); }, Result::Fails, kBefore},
    {"NoDataAtAllOfAnotherType", [](auto& r) { r.setValue(kLocalMachine, kKey, kValue, 3, ""); },
     Result::Fails, kBefore},
    {"1023CharactersAndZeroFillTheBuffer", [](auto& r) { text(r, k1023); }, Result::Read, k1023},
    {"1024CharactersWithoutZeroFillTheBuffer", [](auto& r) { text(r, k1024, false); }, Result::Read,
     k1024},
    {"1024CharactersAndZeroDoNotFit", [](auto& r) { text(r, k1024); }, Result::NotRead, ""},
    {"LongTextDoesNotFit", [](auto& r) { text(r, std::string(5000, 'z')); }, Result::NotRead, ""},
    {"Dword", [](auto& r) { r.setDword(kLocalMachine, kKey, kValue, 0x12345678); }, Result::Read,
     "305419896"},
    // The zero high bytes fall to the trimming; the number stays the same.
    {"DwordWithZeroHighBytes", [](auto& r) { r.setDword(kLocalMachine, kKey, kValue, 0x105); },
     Result::Read, "261"},
    {"DwordZero", [](auto& r) { r.setDword(kLocalMachine, kKey, kValue, 0); }, Result::Read, "0"},
    {"DwordHighest", [](auto& r) { r.setDword(kLocalMachine, kKey, kValue, 0xFFFFFFFF); },
     Result::Read, "4294967295"},
    {"ExpandableTextIsLeftAsItWas",
     [](auto& r) { r.setValue(kLocalMachine, kKey, kValue, 2, std::string("%windir%\0", 9)); },
     Result::Read, kBefore},
    {"BinaryIsLeftAsItWas", [](auto& r) { r.setValue(kLocalMachine, kKey, kValue, 3, "\x01\x02"); },
     Result::Read, kBefore},
    {"MultiTextIsLeftAsItWas",
     [](auto& r) { r.setValue(kLocalMachine, kKey, kValue, 7, std::string("a\0b\0\0", 5)); },
     Result::Read, kBefore},
    {"ValueNamesIgnoreCase", [](auto& r) { r.setText(kLocalMachine, kKey, "path", "C:\\x.exe"); },
     Result::Read, "C:\\x.exe"},
    {"MissingValue", [](auto& r) { r.setText(kLocalMachine, kKey, "Other", "C:\\x.exe"); },
     Result::NotRead, ""},
    {"MissingKey",
     [](auto& r) { r.setText(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools", kValue, "x"); },
     Result::NotRead, ""},
    {"KeyThatRefusesTheAccessAsked",
     [](auto& r) {
         text(r, "C:\\x.exe");
         r.addKey(kLocalMachine, kKey, reg::kKeyRead);
     },
     Result::NotRead, ""},
    {"KeyThatGrantsExactlyTheAccessAsked",
     [](auto& r) {
         text(r, "C:\\x.exe");
         r.addKey(kLocalMachine, kKey, ui::kKeyAccess);
     },
     Result::Read, "C:\\x.exe"},
};

class GetKeyValueTest : public SysInfoTest, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(GetKeyValueTest, ReadsTrimsAndClosesTheKey)
{
    const ReadCase& c = GetParam();
    c.arrange(registry);
    std::string keyVal = kBefore;

    if (c.result == Result::Fails) {
        try {
            ui::GetKeyValue(kLocalMachine, kKey, kValue, keyVal);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& f) {
            EXPECT_EQ(f.number(), err::InvalidCall);
        }
    } else {
        EXPECT_EQ(ui::GetKeyValue(kLocalMachine, kKey, kValue, keyVal), c.result == Result::Read);
    }
    EXPECT_EQ(keyVal, c.keyVal);
    expectAllKeysClosed();
    EXPECT_EQ(log.calls.back().rfind("close", 0), 0u) << "the key is closed last";
}

INSTANTIATE_TEST_SUITE_P(Values, GetKeyValueTest, ::testing::ValuesIn(kReadCases), CaseName());

TEST_F(SysInfoTest, GetKeyValueOpensQueriesAndClosesInThatOrder)
{
    text(registry, "C:\\x.exe");
    std::string keyVal;
    ASSERT_TRUE(ui::GetKeyValue(kLocalMachine, kKey, kValue, keyVal));
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "open SOFTWARE\\Microsoft\\Shared Tools\\MSINFO options=0x0 "
                             "access=0x2003F -> 0",
                             "query PATH room=1024 -> 0",
                             "close -> 0",
                         }));
}

TEST_F(SysInfoTest, GetKeyValueClosesTheNullHandleOfAFailedOpen)
{
    std::string keyVal = kBefore;
    EXPECT_FALSE(ui::GetKeyValue(kLocalMachine, kKey, kValue, keyVal));
    EXPECT_EQ(keyVal, "");
    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "open SOFTWARE\\Microsoft\\Shared Tools\\MSINFO options=0x0 "
                             "access=0x2003F -> 2",
                             "close null -> 6",
                         }));
    EXPECT_EQ(registry.opens(), 0);
    EXPECT_EQ(registry.strayCloses(), 1);
}

TEST_F(SysInfoTest, GetKeyValueReadsBelowAnOpenKey)
{
    text(registry, "C:\\x.exe");
    Registry::Key tools = 0;
    ASSERT_EQ(registry.openKeyEx(kLocalMachine, "SOFTWARE\\Microsoft", 0, ui::kKeyAccess, &tools),
              0);
    std::string keyVal;
    EXPECT_TRUE(ui::GetKeyValue(tools, "Shared Tools\\MSINFO", kValue, keyVal));
    EXPECT_EQ(keyVal, "C:\\x.exe");
    EXPECT_EQ(registry.openHandles(), 1u);
    registry.closeKey(tools);
}

} // namespace
} // namespace halvane::test
