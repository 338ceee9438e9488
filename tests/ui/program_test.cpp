#include "seams/program.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

// Whatever end() does other than stopping (a quit the event loop takes later,
// a return) lets the next line run; a stop without a flush loses "before".
TEST(ProgramDeathTest, EndStopsAtOnceWithBuffersFlushed)
{
    // The child re-runs this test alone, so no thread of the parent is forked.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto endAndGoOn = [] {
        // Buffered, so only the flush in end() can bring the text out.
        static char buffer[256];
        std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
        std::fputs("before", stderr);
        SystemProgram().end();
        std::fputs(" after", stderr);
        std::exit(3);
    };
    EXPECT_EXIT(endAndGoOn(), ::testing::ExitedWithCode(0), "(^|\n)before$");
}
