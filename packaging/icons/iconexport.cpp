#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

// Writes OUT/NxN/quillnest.png for each size given.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: quillnest-icons OUT SIZE...\n");
        return 2;
    }
    const QIcon icon = artwork::applicationIcon();
    for (const QString &sizeText : arguments.mid(2)) {
        const int size = sizeText.toInt();
        const QString folder = QStringLiteral("%1/%2x%2").arg(arguments[1]).arg(size);
        if (size <= 0 || !QDir().mkpath(folder) || !icon.pixmap(size, size).save(folder + QStringLiteral("/quillnest.png"))) {
            std::fprintf(stderr, "quillnest-icons: cannot write the %s-pixel icon\n", qPrintable(sizeText));
            return 1;
        }
    }
    return 0;
}
