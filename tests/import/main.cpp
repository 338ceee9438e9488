#include <QGuiApplication>

#include <gtest/gtest.h>

// Pages are text documents with fonts and pictures, which want an application;
// the export tests start with this too.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
