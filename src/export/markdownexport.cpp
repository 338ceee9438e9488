#include "rangeformats.h"

#include "exportedfiles.h"
#include "markdownpage.h"
#include "partfile.h"

#include "richtext/picture.h"

#include <QTextDocument>

#include <utility>

namespace rangeexport {

namespace {

struct PictureFile
{
    QByteArray bytes;
    QString suffix;
};

// The picture's own PNG or JPEG bytes; what stands in for it when it cannot be shown.
std::optional<PictureFile> pictureFile(const QTextDocument &document, const QTextImageFormat &format)
{
    auto stored = richtext::storedPicture(document, format);
    if (!stored)
        return std::nullopt;
    if (stored->kind == richtext::StoredPicture::Kept)
        stored = richtext::compactPicture(richtext::placeholderImage(QSize(qRound(format.width()), qRound(format.height()))));
    return PictureFile{stored->bytes, stored->kind == richtext::StoredPicture::Jpeg ? QStringLiteral("jpg") : QStringLiteral("png")};
}

// Writes each page's pictures as images/yyyy-mm-dd-N beside the Markdown.
class PictureWriter
{
public:
    PictureWriter(const QString &folder, ExportedFiles &files) : m_folder(folder + QStringLiteral("/images")), m_files(files) {}

    Outcome page(const Day &day, const QTextDocument &document, QString &markdown)
    {
        m_result = Outcome::success();
        int number = 0;
        markdown = markdown::fromDocument(document, [&](const QTextImageFormat &format) -> markdown::LinkedPicture {
            const auto picture = pictureFile(document, format);
            if (!picture || !m_result)
                return {};
            const QString name = QStringLiteral("%1-%2.%3").arg(day.key).arg(++number).arg(picture->suffix);
            m_result = write(name, picture->bytes);
            if (!m_result)
                return {};
            return {QStringLiteral("%1 picture %2").arg(day.key).arg(number), QStringLiteral("images/") + name};
        });
        return m_result;
    }

private:
    Outcome write(const QString &name, const QByteArray &bytes)
    {
        if (const Outcome made = m_files.makeFolder(m_folder); !made)
            return made;
        return m_files.write(m_folder + QLatin1Char('/') + name, bytes);
    }

    QString m_folder;
    ExportedFiles &m_files;
    Outcome m_result = Outcome::success();
};

// The page's heading, then its paragraphs, as UTF-8 lines.
QByteArray pageBytes(const Day &day, const QString &body)
{
    QString text = markdown::heading(dayTitle(day.date)) + u'\n';
    if (!body.isEmpty())
        text += u'\n' + body + u'\n';
    return text.toUtf8();
}

class MarkdownExport
{
public:
    MarkdownExport(const DataRoot &root, const Request &request, QStringList &unread)
        : m_root(root), m_request(request), m_unread(unread), m_pictures(request.out, m_files),
          m_whole(request.out + u'/' + kOneFileName)
    {
    }

    Outcome run(const std::vector<Day> &days, const Progress &progress)
    {
        Outcome done = exportDays(days, progress);
        if (!done)
            m_files.removeAll();
        return done;
    }

private:
    Outcome exportDays(const std::vector<Day> &days, const Progress &progress)
    {
        if (const Outcome made = m_files.makeFolder(m_request.out); !made)
            return made;
        if (m_request.oneFile) {
            if (const Outcome opened = m_whole.open(); !opened)
                return opened;
        }
        const int total = int(days.size());
        for (int i = 0; i < total; ++i) {
            if (const Outcome page = exportPage(days[size_t(i)]); !page)
                return page;
            if (progress && !progress(i + 1, total))
                return stopped();
        }
        return m_request.oneFile ? m_whole.replaceTarget() : Outcome::success();
    }

    Outcome exportPage(const Day &day)
    {
        QTextDocument document;
        if (!loadPage(m_root, day, document)) {
            m_unread.append(day.key);
            return Outcome::success();
        }
        QString body;
        if (const Outcome pictures = m_pictures.page(day, document, body); !pictures)
            return pictures;
        const QByteArray bytes = pageBytes(day, body);
        if (m_request.oneFile)
            return m_whole.append(std::exchange(m_first, false) ? bytes : '\n' + bytes);
        return m_files.write(m_request.out + u'/' + day.key + QStringLiteral(".md"), bytes);
    }

    const DataRoot &m_root;
    const Request &m_request;
    QStringList &m_unread;
    bool m_first = true;
    ExportedFiles m_files;
    PictureWriter m_pictures;
    PartFile m_whole;
};

} // namespace

Outcome exportMarkdown(const DataRoot &root, const std::vector<Day> &days, const Request &request, const Progress &progress,
                       QStringList &unread)
{
    return MarkdownExport(root, request, unread).run(days, progress);
}

} // namespace rangeexport
