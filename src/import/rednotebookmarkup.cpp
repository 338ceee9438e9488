#include "rednotebookmarkup.h"

#include <QRegularExpression>

#include <array>
#include <utility>
#include <vector>

namespace diaryimport {

namespace {

// Marks nested deeper than this are left as they are written.
constexpr int kDeepestNesting = 8;

// A bare address comes before the marks, so the "//" of "http://" never
// starts italics.
const QRegularExpression &inlinePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"re(\[""(?<path>.+?)""(?<ext>\.\w+)(?:\?(?<width>\d+))?\])re"
        R"re(|\[(?<label>[^\[\]]*?\S)\s+(?<target>(?:(?:https?|ftp|file|mailto):|www\.)[^\s\]]+)\])re"
        R"re(|(?<address>(?:(?:https?|ftp|file)://|www\.)[^\s<>\[\]"]+))re"
        R"re(|\*\*(?<bold>\S(?:.*?\S)?)\*\*)re"
        R"re(|//(?<italic>\S(?:.*?\S)?)//)re"
        R"re(|__(?<underline>\S(?:.*?\S)?)__)re"
        R"re(|--(?<strike>\S(?:.*?\S)?)--)re"));
    return pattern;
}

QString inlineHtml(const QString &text, const PictureFound &pictureFound, int depth);

QString pictureHtml(const QRegularExpressionMatch &match, const PictureFound &pictureFound)
{
    const QString address = match.captured(u"path") + match.captured(u"ext");
    if (!pictureFound(address))
        return match.captured().toHtmlEscaped();
    const QString width = match.captured(u"width");
    const QString sized = width.isEmpty() ? QString() : QStringLiteral(" width=\"%1\"").arg(width);
    return QStringLiteral("<img src=\"%1\"%2>").arg(address.toHtmlEscaped(), sized);
}

QString elementHtml(const QRegularExpressionMatch &match, const PictureFound &pictureFound, int depth)
{
    if (match.hasCaptured(u"path"))
        return pictureHtml(match, pictureFound);
    if (match.hasCaptured(u"target")) {
        return QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(match.captured(u"target").toHtmlEscaped(), match.captured(u"label").toHtmlEscaped());
    }
    if (match.hasCaptured(u"address"))
        return match.captured().toHtmlEscaped();
    static constexpr std::array<std::pair<QStringView, QLatin1StringView>, 4> kMarks{{
        {u"bold", QLatin1StringView("b")},
        {u"italic", QLatin1StringView("i")},
        {u"underline", QLatin1StringView("u")},
        {u"strike", QLatin1StringView("s")},
    }};
    for (const auto &[group, tag] : kMarks) {
        if (match.hasCaptured(group))
            return QStringLiteral("<%1>%2</%1>").arg(tag, inlineHtml(match.captured(group), pictureFound, depth + 1));
    }
    return match.captured().toHtmlEscaped();
}

QString inlineHtml(const QString &text, const PictureFound &pictureFound, int depth)
{
    if (depth >= kDeepestNesting)
        return text.toHtmlEscaped();
    QString html;
    qsizetype done = 0;
    for (auto it = inlinePattern().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        html += text.mid(done, match.capturedStart() - done).toHtmlEscaped();
        html += elementHtml(match, pictureFound, depth);
        done = match.capturedEnd();
    }
    return html + text.mid(done).toHtmlEscaped();
}

// Lists nest by how far their items are indented.
class BlockWriter
{
public:
    explicit BlockWriter(const PictureFound &pictureFound) : m_pictureFound(pictureFound) {}

    void line(const QString &line);
    QString finish();

private:
    struct OpenList
    {
        qsizetype indent = 0;
        QLatin1StringView tag;
    };

    void item(qsizetype indent, QLatin1StringView tag, const QString &text);
    void text(const QString &text);
    void endParagraph();
    void endLists();
    void endList();
    QString inlined(const QString &text) const { return inlineHtml(text, m_pictureFound, 0); }

    const PictureFound &m_pictureFound;
    QString m_html;
    bool m_inParagraph = false;
    std::vector<OpenList> m_lists;
};

void BlockWriter::line(const QString &line)
{
    static const QRegularExpression rule(QStringLiteral(R"(^\s*(?:-{20,}|={20,}|_{20,})\s*$)"));
    static const QRegularExpression heading(QStringLiteral(R"(^\s*(={1,5})\s*([^=\s](?:.*[^=\s])?)\s*\1\s*$)"));
    static const QRegularExpression listItem(QStringLiteral(R"(^(\s*)([-+]) (.*)$)"));
    if (line.trimmed().isEmpty()) {
        endParagraph();
        endLists();
    } else if (rule.match(line).hasMatch()) {
        endParagraph();
        endLists();
        m_html += QLatin1StringView("<hr>");
    } else if (const auto title = heading.match(line); title.hasMatch()) {
        endParagraph();
        endLists();
        m_html += QStringLiteral("<h%1>%2</h%1>").arg(title.capturedLength(1)).arg(inlined(title.captured(2)));
    } else if (const auto listed = listItem.match(line); listed.hasMatch()) {
        const QLatin1StringView tag(listed.captured(2) == u"+" ? "ol" : "ul");
        item(listed.capturedLength(1), tag, listed.captured(3));
    } else {
        text(line);
    }
}

// RedNotebook shows spaces and tabs as they were typed.
QString BlockWriter::finish()
{
    endParagraph();
    endLists();
    return QStringLiteral("<body style=\"white-space:pre-wrap\">%1</body>").arg(m_html);
}

void BlockWriter::item(qsizetype indent, QLatin1StringView tag, const QString &text)
{
    endParagraph();
    while (!m_lists.empty() && indent < m_lists.back().indent)
        endList();
    if (!m_lists.empty() && indent == m_lists.back().indent) {
        if (m_lists.back().tag == tag) {
            m_html += QLatin1StringView("</li><li>") + inlined(text);
            return;
        }
        endList();
    }
    m_lists.push_back({indent, tag});
    m_html += QStringLiteral("<%1><li>").arg(tag) + inlined(text);
}

// RedNotebook shows each line of a paragraph on its own line.
void BlockWriter::text(const QString &text)
{
    endLists();
    m_html += QLatin1StringView(m_inParagraph ? "<br>" : "<p>") + inlined(text);
    m_inParagraph = true;
}

void BlockWriter::endParagraph()
{
    if (m_inParagraph)
        m_html += QLatin1StringView("</p>");
    m_inParagraph = false;
}

void BlockWriter::endLists()
{
    while (!m_lists.empty())
        endList();
}

void BlockWriter::endList()
{
    m_html += QStringLiteral("</li></%1>").arg(m_lists.back().tag);
    m_lists.pop_back();
}

} // namespace

QString rednotebookHtml(const QString &text, const PictureFound &pictureFound)
{
    BlockWriter writer(pictureFound);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        writer.line(line);
    }
    return writer.finish();
}

} // namespace diaryimport
