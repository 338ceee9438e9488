#include "diarygen.h"

#include "diary/codepage.h"
#include "diary/scramble.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

#include <cstdio>

// Benchmark helper: makes a diary, or prints a term's scrambled bytes so that
// grep can look for what the search looks for.
int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("Data folder to fill."), QStringLiteral("DIR"));
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Number of pages."), QStringLiteral("N"), QStringLiteral("365"));
    const QCommandLineOption scramble(QStringLiteral("scramble"), QStringLiteral("Print TERM's stored bytes."), QStringLiteral("TERM"));
    parser.addOptions({root, days, scramble});
    parser.process(app);

    if (parser.isSet(scramble)) {
        const auto stored = ScrambleLine(codepage::encodeLossy(parser.value(scramble)));
        if (!stored)
            return 1;
        std::fwrite(stored->constData(), 1, static_cast<size_t>(stored->size()), stdout);
        return 0;
    }
    const QString path = parser.value(root);
    if (path.isEmpty() || !QDir().mkpath(path + QStringLiteral("/pages")) || !QDir().mkpath(path + QStringLiteral("/dates"))) {
        std::fprintf(stderr, "quillnest-diarygen: give --root DIR, a folder that can be made\n");
        return 2;
    }
    diarygen::Options options;
    options.days = parser.value(days).toInt();
    const int written = diarygen::generate(DataRoot(path), options);
    std::printf("%d pages\n", written);
    return written == options.days ? 0 : 1;
}
