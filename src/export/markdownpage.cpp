#include "markdownpage.h"

#include "markdowntext.h"

#include "richtext/rule.h"

#include <QFont>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <array>
#include <vector>

namespace markdown {

namespace {

enum Mark : unsigned { Underline = 1, Strike = 2, Bold = 4, Italic = 8 };

// Outermost first. Underline's tag outside the others keeps a mark next to a
// letter from touching the tag's '<', which would stop it opening.
constexpr std::array kMarks{Underline, Strike, Bold, Italic};

const char *opening(Mark mark)
{
    switch (mark) {
    case Underline: return "<u>";
    case Strike: return "~~";
    case Bold: return "**";
    case Italic: return "*";
    }
    return "";
}

const char *closing(Mark mark)
{
    return mark == Underline ? "</u>" : opening(mark);
}

unsigned marksOf(const QTextCharFormat &format)
{
    unsigned marks = 0;
    if (format.fontWeight() > QFont::Medium)
        marks |= Bold;
    if (format.fontItalic())
        marks |= Italic;
    if (format.fontStrikeOut())
        marks |= Strike;
    if (format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline)
        marks |= Underline;
    return marks;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

// Indentation Markdown would drop, or read as code, kept as no-break spaces.
QString indentation(const QString &space)
{
    constexpr int kTabWidth = 4;
    return QString(QChar(0xa0)).repeated(space.count(u' ') + kTabWidth * space.count(u'\t'));
}

// Writes one paragraph. A mark opens right before text and closes right
// after it, with the spaces around it outside, as Markdown needs; spaces
// and line breaks wait until text follows, so none end a line or the paragraph.
class ParagraphWriter
{
public:
    void addText(QStringView text, unsigned marks)
    {
        const QList<QStringView> lines = text.split(u'\u2028');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                lineBreak();
            addLine(lines[i], marks);
        }
    }

    // Outside every mark, as a reader may show marks around a picture as text.
    void addPicture(const LinkedPicture &picture)
    {
        startContent(0);
        m_out += QStringLiteral("![%1](%2)").arg(escaped(picture.description, false), picture.target);
        m_lineStart = false;
    }

    QString finish()
    {
        closeDownTo(0);
        return m_out;
    }

private:
    void lineBreak()
    {
        m_space.clear();
        if (!m_out.isEmpty())
            ++m_breaks;
    }

    void addLine(QStringView line, unsigned marks)
    {
        const auto first = std::find_if_not(line.begin(), line.end(), isSpace);
        if (first == line.end()) {
            m_space += line;
            return;
        }
        const auto last = std::find_if_not(line.rbegin(), line.rend(), isSpace).base();
        m_space += QStringView(line.begin(), first);
        startContent(marks);
        m_out += escaped(QStringView(first, last), m_lineStart);
        m_lineStart = false;
        m_space = QStringView(last, line.end()).toString();
    }

    void startContent(unsigned marks)
    {
        if (m_breaks > 0) {
            closeDownTo(0);
            m_out += QStringLiteral("\\\n").repeated(m_breaks);
            m_breaks = 0;
            m_lineStart = true;
        }
        size_t kept = 0;
        while (kept < m_open.size() && (marks & m_open[kept]) != 0)
            ++kept;
        closeDownTo(kept);
        m_out += m_lineStart ? indentation(m_space) : m_space;
        m_space.clear();
        for (const Mark mark : kMarks) {
            if ((marks & mark) != 0 && std::find(m_open.begin(), m_open.end(), mark) == m_open.end()) {
                m_open.push_back(mark);
                m_out += QLatin1String(opening(mark));
            }
        }
    }

    void closeDownTo(size_t depth)
    {
        while (m_open.size() > depth) {
            m_out += QLatin1String(closing(m_open.back()));
            m_open.pop_back();
        }
    }

    QString m_out;
    std::vector<Mark> m_open;
    QString m_space;
    int m_breaks = 0;
    bool m_lineStart = true;
};

QString paragraph(const QTextBlock &block, const PictureLink &link)
{
    ParagraphWriter writer;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (!format.isImageFormat()) {
            writer.addText(fragment.text(), marksOf(format));
            continue;
        }
        // Equal pictures side by side share one fragment, a character each.
        const LinkedPicture picture = link(format.toImageFormat());
        for (int i = 0; i < fragment.length() && !picture.target.isEmpty(); ++i)
            writer.addPicture(picture);
    }
    return writer.finish();
}

} // namespace

QString fromDocument(const QTextDocument &document, const PictureLink &link)
{
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (QString text = paragraph(block, link); !text.isEmpty())
            paragraphs.append(text);
        if (richtext::hasRule(block.blockFormat()))
            paragraphs.append(QStringLiteral("---"));
    }
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString heading(const QString &title)
{
    return QStringLiteral("# ") + escaped(title, false);
}

} // namespace markdown
