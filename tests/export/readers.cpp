#include "readers.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace readers {

QStringList missing(const QStringList &programs)
{
    QStringList absent = programs;
    absent.removeIf([](const QString &program) { return !QStandardPaths::findExecutable(program).isEmpty(); });
    return absent;
}

std::optional<QString> output(const QString &program, const QStringList &arguments, const QByteArray &input)
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString markdownAsText(const QString &markdown, const QString &reader)
{
    const QStringList arguments{QStringLiteral("-f"), reader, QStringLiteral("-t"), QStringLiteral("plain-strikeout"), QStringLiteral("--wrap=none")};
    return output(QStringLiteral("pandoc"), arguments, markdown.toUtf8()).value_or(QString());
}

QString folded(const QString &text)
{
    QStringList lines = text.split(u'\n');
    std::ranges::for_each(lines, [](QString &line) { line = line.simplified(); });
    lines.removeAll(QString());
    return lines.join(u'\n');
}

QStringList pdfSheets(const QString &path)
{
    QStringList sheets = output(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).value_or(QString()).split(u'\f');
    if (!sheets.isEmpty() && sheets.constLast().trimmed().isEmpty())
        sheets.removeLast();
    return sheets;
}

QList<std::array<int, 3>> pdfPictures(const QString &path)
{
    QList<std::array<int, 3>> pictures;
    for (const QString &row : output(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).value_or(QString()).split(u'\n').mid(2)) {
        if (const QStringList c = row.simplified().split(u' '); c.size() > 13 && c[2] == QLatin1String("image"))
            pictures.append({c[0].toInt(), qRound(c[3].toDouble() * 10 / c[12].toDouble()), qRound(c[4].toDouble() * 10 / c[13].toDouble())});
    }
    return pictures;
}

QStringList names(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace readers
