#include "tool/runtimefolderwarning.h"
#include "tool/toolcommands.h"

#include <QCoreApplication>
#include <QByteArrayView>
#include <QGuiApplication>

#include <cstring>

namespace {

// Whether the command builds pages as documents, which need fonts: an export
// to html, md or pdf. The stored markup and its text go without, and so
// without the fonts' start and end, a tenth of a short export's time. The
// format is read as the command's parser reads it: "--format X" or
// "--format=X", the last one given, rtf when none is.
bool buildsDocuments(int argc, char *argv[])
{
    if (argc < 2 || std::strcmp(argv[1], "export") != 0)
        return false;
    QByteArrayView format("rtf");
    constexpr QByteArrayView kFormat("--format");
    for (int i = 2; i < argc; ++i) {
        const QByteArrayView argument(argv[i]);
        if (argument == kFormat && i + 1 < argc)
            format = argv[++i];
        else if (argument.startsWith(kFormat) && argument.sliced(kFormat.size()).startsWith('='))
            format = argument.sliced(kFormat.size() + 1);
    }
    return format != "rtf" && format != "txt";
}

} // namespace

int main(int argc, char *argv[])
{
    tool::dropRuntimeFolderWarning();
    // Fonts come with a GUI application; on the offscreen platform it needs
    // no display, so it runs on any terminal.
    if (buildsDocuments(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("quillnest-tool"));
        return tool::run(QCoreApplication::arguments());
    }
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillnest-tool"));
    return tool::run(QCoreApplication::arguments());
}
