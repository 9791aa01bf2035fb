#include "subdivision.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool addressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool addressSanitizer = true;
#else
constexpr bool addressSanitizer = false;
#endif
#else
constexpr bool addressSanitizer = false;
#endif

// The process's resident memory in bytes, from /proc/self/statm.
long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

constexpr long allowedGrowth = 2L * 1024 * 1024;

} // namespace

// Typing digits and Backspace rebuilds the structure again and again; a long session of
// switching between the largest and the smallest polygon must not make the viewer grow.
TEST(AppMemory, RebuildsBetweenTheLargestAndSmallestPolygonKeepResidentMemoryFlat) {
    if (addressSanitizer) {
        GTEST_SKIP() << "AddressSanitizer holds freed memory in quarantine and gives every "
                        "allocation a red zone, so resident memory says nothing about leaks";
    }
    ASSERT_EQ(9999, maxAngles);
    Subdivision s;
    s.build(maxAngles);
    ASSERT_EQ(39990u, s.halfEdges.size());
    const long start = residentBytes();
    ASSERT_GT(start, 0);

    for (int i = 0; i < 1000; ++i) {
        s.build(3);
        ASSERT_EQ(6u, s.halfEdges.size());
        s.build(maxAngles);
        ASSERT_EQ(39990u, s.halfEdges.size());
    }

    const long growth = residentBytes() - start;
    EXPECT_LE(growth, allowedGrowth) << "resident memory grew by " << growth << " bytes";
}
