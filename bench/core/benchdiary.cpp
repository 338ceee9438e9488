#include "benchdiary.h"

#include <QCommandLineParser>
#include <QDir>

namespace {

QString underFolder(const QCoreApplication &app, diarygen::Options &options)
{
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption days(QStringLiteral("days"), QStringLiteral("Pages in the diary."), QStringLiteral("N"),
                                  QStringLiteral("36500"));
    const QCommandLineOption under(QStringLiteral("under"), QStringLiteral("Folder to build the diary in (a disk, not tmpfs)."),
                                   QStringLiteral("DIR"), QDir::tempPath());
    parser.addOptions({days, under});
    parser.process(app);
    options.days = parser.value(days).toInt();
    return parser.value(under);
}

} // namespace

BenchDiary::BenchDiary(const QCoreApplication &app, const QString &name)
    : m_work(underFolder(app, m_options) + QLatin1Char('/') + name + QStringLiteral("-XXXXXX")), m_root(m_work.path())
{
    QDir(m_work.path()).mkdir(QStringLiteral("pages"));
    QDir(m_work.path()).mkdir(QStringLiteral("dates"));
    m_pages = diarygen::generate(m_root, m_options);
}
