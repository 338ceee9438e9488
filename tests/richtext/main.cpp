#include <QApplication>

#include <gtest/gtest.h>

// The editor is a widget, so these tests run inside an application.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
