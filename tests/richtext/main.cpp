#include <QApplication>
#include <QFont>

#include <gtest/gtest.h>

// The editor is a widget, so these tests run inside an application, whose
// font is fixed so that a written page is the same on every machine.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Sans Serif"), 9));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
