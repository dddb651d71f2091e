// How a save changes a field: every span of changed bytes in every field
// width up to 20, against what the rule says: one 8-byte store inside the
// field that covers every changed byte, one 1-byte store, one masked store of
// up to 16 bytes where there is one, or a write call. And the masked stores
// themselves: exactly the bytes they are given, none around them.
#include "dbase/FieldStore.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
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

#if defined(__x86_64__) || defined(__i386__)
// Two pages, the second of which no one may touch.
class GuardedPage
{
public:
    GuardedPage()
    {
#ifdef _WIN32
        m_pages = static_cast<char*>(
            ::VirtualAlloc(nullptr, 2 * kPage, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        DWORD before = 0;
        if (m_pages)
            ::VirtualProtect(m_pages + kPage, kPage, PAGE_NOACCESS, &before);
#else
        void* pages = ::mmap(nullptr, 2 * kPage, PROT_READ | PROT_WRITE,
                             MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        m_pages = pages == MAP_FAILED ? nullptr : static_cast<char*>(pages);
        if (m_pages)
            ::mprotect(m_pages + kPage, kPage, PROT_NONE);
#endif
    }
    ~GuardedPage()
    {
#ifdef _WIN32
        ::VirtualFree(m_pages, 0, MEM_RELEASE);
#else
        ::munmap(m_pages, 2 * kPage);
#endif
    }
    // The end of the page that may be touched.
    char* end() const { return m_pages ? m_pages + kPage : nullptr; }

private:
    static constexpr std::size_t kPage = 4096;
    char* m_pages = nullptr;
};

// Each masked store writes `n` bytes from every place of a 64-byte buffer
// that ends a page, a page no one may touch after it: exactly those bytes,
// and it addresses nothing there (SSE2's addresses 16 bytes, placed so).
struct MaskedStore {
    const char* name;
    void (*store)(char* to, const char* from, std::size_t n, const char* end);
    bool available;
};

class MaskedStores : public testing::TestWithParam<MaskedStore>
{
};

TEST_P(MaskedStores, WriteExactlyTheBytesGivenWhereverTheyLie)
{
    const MaskedStore& c = GetParam();
    if (!c.available)
        GTEST_SKIP() << "this processor has no " << c.name << " masked store";
    const GuardedPage page;
    ASSERT_NE(page.end(), nullptr);
    constexpr std::size_t kSize = 64;
    char* buffer = page.end() - kSize;
    const std::string from = "ABCDEFGHIJKLMNOP";
    for (std::size_t n = 2; n <= 16; ++n)
        for (std::size_t at = 0; at + n <= kSize; ++at) {
            std::memset(buffer, '.', kSize);
            c.store(buffer + at, from.data(), n, page.end());
            halvane::dbase::storeFence();
            std::string expected(kSize, '.');
            expected.replace(at, n, from.substr(0, n));
            ASSERT_EQ(std::string(buffer, kSize), expected) << n << " bytes at " << at;
        }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MaskedStores,
    testing::Values(MaskedStore{"SSE2", halvane::dbase::maskedStoreSse2,
                                __builtin_cpu_supports("sse2") != 0},
                    MaskedStore{"AVX512",
                                [](char* to, const char* from, std::size_t n, const char*) {
                                    halvane::dbase::maskedStoreAvx512(to, from, n);
                                },
                                halvane::dbase::hasAvx512MaskedStores()},
                    MaskedStore{"Chosen", halvane::dbase::maskedStore, hasMaskedStores()}),
    [](const auto& p) { return std::string(p.param.name); });
#endif

} // namespace
