// The in-memory registry answers as advapi32 does; the desktop replacement
// and every launcher test rely on it.
#include "tests/support/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace halvane::test
{
namespace
{

using reg::kLocalMachine;

class MemoryRegistryTest : public ::testing::Test
{
protected:
    MemoryRegistryTest()
    {
        r.setText(kLocalMachine, "Software\\Vendor\\Tool", "Path", "C:\\t.exe");
    }

    Registry::Key open(const char* path, std::uint32_t access = reg::kKeyRead,
                       Registry::Status expected = reg::kSuccess)
    {
        Registry::Key key = 99;
        EXPECT_EQ(r.openKeyEx(kLocalMachine, path, 0, access, &key), expected) << path;
        if (expected != reg::kSuccess) {
            EXPECT_EQ(key, 0u) << "a failed open leaves a null handle";
        }
        return key;
    }

    MemoryRegistry r;
};

TEST_F(MemoryRegistryTest, KeysOpenWithoutRegardToCaseAndParentsExist)
{
    for (const char* path : {"SOFTWARE\\VENDOR\\TOOL", "software\\vendor", "Software", ""})
        r.closeKey(open(path));
    open("Software\\Vendor\\Other", reg::kKeyRead, reg::kFileNotFound);
    open("Software\\Vend", reg::kKeyRead, reg::kFileNotFound);
    EXPECT_EQ(r.opens(), 4);
    EXPECT_EQ(r.closes(), 4);
}

TEST_F(MemoryRegistryTest, AccessBeyondWhatTheKeyGrantsIsDenied)
{
    r.addKey(kLocalMachine, "Software\\Vendor\\Tool", reg::kKeyRead);
    r.closeKey(open("Software\\Vendor\\Tool", reg::kKeyRead));
    open("Software\\Vendor\\Tool", 0x2003F, reg::kAccessDenied);
}

TEST_F(MemoryRegistryTest, QueryReportsTypeSizeAndMoreData)
{
    Registry::Key key = open("Software\\Vendor\\Tool");
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(r.queryValueEx(key, "PATH", nullptr, &type, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(size, 9u) << "size asked without a buffer";

    unsigned char small[4] = {};
    size = sizeof small;
    EXPECT_EQ(r.queryValueEx(key, "path", nullptr, &type, small, &size), reg::kMoreData);
    EXPECT_EQ(size, 9u) << "the size needed";

    unsigned char room[16] = {};
    size = sizeof room;
    EXPECT_EQ(r.queryValueEx(key, "Path", nullptr, &type, room, &size), reg::kSuccess);
    EXPECT_EQ(type, reg::kTypeSz);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(room), size), std::string("C:\\t.exe\0", 9));

    std::uint32_t reserved = 0;
    EXPECT_EQ(r.queryValueEx(key, "Path", &reserved, &type, room, &size), reg::kInvalidParameter);
    EXPECT_EQ(r.queryValueEx(key, "Other", nullptr, &type, room, &size), reg::kFileNotFound);
    r.closeKey(key);
    EXPECT_EQ(r.queryValueEx(key, "Path", nullptr, &type, room, &size), reg::kInvalidHandle);
}

TEST_F(MemoryRegistryTest, CountsClosesOfHandlesThatAreNotOpen)
{
    Registry::Key key = open("Software");
    EXPECT_EQ(r.openHandles(), 1u);
    EXPECT_EQ(r.closeKey(key), reg::kSuccess);
    EXPECT_EQ(r.closeKey(key), reg::kInvalidHandle);
    EXPECT_EQ(r.closeKey(0), reg::kInvalidHandle);
    EXPECT_EQ(r.closeKey(kLocalMachine), reg::kSuccess) << "a predefined root is never open";
    EXPECT_EQ(r.closes(), 1);
    EXPECT_EQ(r.strayCloses(), 2);
    EXPECT_EQ(r.openHandles(), 0u);
}

} // namespace
} // namespace halvane::test
