#include "testapplication.h"

#include <QApplication>

QApplication &testApplication()
{
    static int argc = 1;
    static char name[] = "quillnest-tests";
    static char *argv[] = {name, nullptr};
    // Never destroyed: widgets held by static test objects and Qt's own
    // statics would otherwise go away after it, in no fixed order.
    static QApplication *const app = new QApplication(argc, argv);
    return *app;
}
