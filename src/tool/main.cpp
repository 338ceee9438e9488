#include "tool/toolcommands.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillnest-tool"));
    return tool::run(QCoreApplication::arguments());
}
