// How a save changes a field: every span of changed bytes in every field
// width up to 20, against what the rule says: one 8-byte store inside the
// field that covers every changed byte, one 1-byte store, or a write call.
#include "dbase/FieldStore.h"

#include <gtest/gtest.h>
#include <string>

using halvane::dbase::FieldStore;
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
                    } else if (span > 1) {
                        EXPECT_EQ(store.size, 0u) << "a write call";
                    }
                }
    }
}

} // namespace
