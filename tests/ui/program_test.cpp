#include "seams/program.h"

#include "testapplication.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>

TEST(ProgramDeathTest, EndStopsAtOnceWithBuffersFlushed)
{
    // The child re-runs this test alone, so no thread of the parent is forked.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto endInsideAHandler = [] {
        QApplication &app = testApplication();
        // Buffered, so only the flush in end() can bring the text out.
        static char buffer[256];
        std::setvbuf(stderr, buffer, _IOFBF, sizeof buffer);
        QTimer::singleShot(0, [] {
            std::fputs("before", stderr);
            SystemProgram().end();
        });
        QTimer::singleShot(0, [] { std::fputs(" next handler", stderr); });
        QTimer::singleShot(0, &app, &QApplication::quit);
        app.exec();
        std::fputs(" after the loop", stderr);
        std::exit(3);
    };
    EXPECT_EXIT(endInsideAHandler(), ::testing::ExitedWithCode(0), "(^|\n)before$");
}
