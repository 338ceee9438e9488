#include "tool/runtimefolderwarning.h"
#include "tool/toolcommands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>

int main(int argc, char *argv[])
{
    tool::dropRuntimeFolderWarning();
    // A PDF export needs fonts, which come with a GUI application; on the
    // offscreen platform it needs no display, so it runs on any terminal.
    if (argc > 1 && std::strcmp(argv[1], "export") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("quillnest-tool"));
        return tool::run(QCoreApplication::arguments());
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillnest-tool"));
    return tool::run(QCoreApplication::arguments());
}
