#include "pdfreader.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

int pdfPageCount(const QString &path)
{
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption)
            .match(run(QStringLiteral("pdfinfo"), {path}));
    return pages.hasMatch() ? pages.captured(1).toInt() : -1;
}

// pdftotext ends every page with a form feed.
QStringList pdfPageTexts(const QString &path)
{
    QStringList pages = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    for (QString &page : pages)
        page = page.trimmed();
    return pages;
}

// `pdfimages -list` gives a picture's pixels and pixels per inch on its page.
QList<PdfPicture> pdfPictures(const QString &path)
{
    QList<PdfPicture> pictures;
    const QStringList rows = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), path}).split(QLatin1Char('\n'));
    for (const QString &row : rows.mid(2)) {
        const QStringList columns = row.simplified().split(QLatin1Char(' '));
        if (columns.size() > 13 && columns[2] == QLatin1String("image"))
            pictures.append({columns[0].toInt(), QSizeF(columns[3].toDouble() / columns[12].toDouble(), columns[4].toDouble() / columns[13].toDouble())});
    }
    return pictures;
}
