#include "model/subdivision.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

namespace {

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Typing digits and Backspace rebuilds again and again; switching between the largest and
// the smallest polygon for a long session must not make the viewer grow.
TEST(Memory, RebuildsBetweenTheLargestAndSmallestPolygonKeepResidentMemoryFlat) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer quarantines freed memory: resident size says nothing";
#endif
    Subdivision s;
    s.build(maxAngles);
    const long start = residentBytes();
    for (int i = 0; i < 1000; ++i) {
        s.build(3);
        s.build(maxAngles);
    }
    ASSERT_EQ(s.halfEdges.size(), 39990u);
    EXPECT_LE(residentBytes() - start, 2L * 1024 * 1024);
}

} // namespace
