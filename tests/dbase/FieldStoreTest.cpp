// How a save changes a field: every span of changed bytes in every field
// width up to 20, against what the rule says: one 8-byte store inside the
// field that covers every changed byte, one 1-byte store, one masked store of
// up to 16 bytes where there is one, or a write call. And the masked stores
// themselves: exactly the bytes they are given, none around them.
#include "dbase/FieldStore.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

using halvane::dbase::FieldStore;
using halvane::dbase::hasMaskedStores;
using halvane::dbase::storeFor;

namespace
{

TEST(FieldStore, CoversEveryChangedByteWithOneStoreInsideTheFieldOrWritesIt)
{
    for (std::size_t width = 1; width <= 20; ++width) {
        const std::string was(width, ' ');
        // The change spans [first, last): its ends differ, and every byte
        // between them or none.
        for (std::size_t first = 0; first <= width; ++first)
            for (std::size_t last = first; last <= width; ++last)
                for (const bool between : {false, true}) {
                    std::string now = was;
                    if (last > first) {
                        now[first] = 'x';
                        now[last - 1] = 'y';
                        for (std::size_t i = first + 1; between && i + 1 < last; ++i)
                            now[i] = 'z';
                    }
                    const FieldStore store = storeFor(was, now);
                    const std::size_t span = last - first;
                    SCOPED_TRACE("width " + std::to_string(width) + ", bytes " +
                                 std::to_string(first) + " to " + std::to_string(last));
                    if (width >= 8 && span <= 8) {
                        ASSERT_EQ(store.size, 8u);
                        EXPECT_LE(store.at + 8, width) << "inside the field";
                        if (span > 0) {
                            EXPECT_LE(store.at, first);
                            EXPECT_GE(store.at + 8, last);
                        }
                    } else if (span == 1) {
                        EXPECT_EQ(store.size, 1u);
                        EXPECT_EQ(store.at, first);
                    } else if (span > 1 && span <= 16 && hasMaskedStores()) {
                        EXPECT_EQ(store.at, first) << "a masked store";
                        EXPECT_EQ(store.size, span);
                    } else if (span > 1) {
                        EXPECT_EQ(store.size, 0u) << "a write call";
                    }
                }
    }
}

#ifdef __linux__
// The masked store writes `n` bytes from every place of a 64-byte buffer
// that ends a page, a page no one may touch after it: exactly those bytes,
// and it addresses nothing past them that could fault.
TEST(FieldStore, AMaskedStoreWritesExactlyTheBytesGiven)
{
    if (!hasMaskedStores())
        GTEST_SKIP() << "this processor has no masked store (AVX-512): changes of 9 to 16 "
                        "bytes are write calls";
    const long page = ::sysconf(_SC_PAGESIZE);
    void* pages =
        ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    ASSERT_EQ(::mprotect(static_cast<char*>(pages) + page, page, PROT_NONE), 0);
    constexpr std::size_t kSize = 64;
    char* buffer = static_cast<char*>(pages) + page - kSize;
    const std::string from = "ABCDEFGHIJKLMNOP";
    for (std::size_t n = 1; n <= 16; ++n)
        for (std::size_t at = 0; at + n <= kSize; ++at) {
            std::memset(buffer, '.', kSize);
            halvane::dbase::maskedStore(buffer + at, from.data(), n);
            std::string expected(kSize, '.');
            expected.replace(at, n, from.substr(0, n));
            ASSERT_EQ(std::string(buffer, kSize), expected) << n << " bytes at " << at;
        }
    ::munmap(pages, 2 * page);
}
#endif

} // namespace
