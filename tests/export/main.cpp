#include <QGuiApplication>

#include <gtest/gtest.h>

// The PDF writer needs fonts, which only a GUI application provides.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
