#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextCharFormat>

class QTextDocument;

namespace richtext {

// What the writer says about a run, as table indexes and RTF units. Colour
// index 0 means the reader's own default.
struct RunStyle
{
    int font = 0;
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool unchecked = false;
    int foreground = 0;
    int background = 0;
};

// The font and colour tables of a document about to be written, font 0
// being the document's default font.
class StyleTable
{
public:
    explicit StyleTable(const QTextDocument &document);

    const QStringList &fonts() const { return m_fonts; }
    const QList<QColor> &colors() const { return m_colors; }
    RunStyle style(const QTextCharFormat &format) const;

private:
    void add(const QTextCharFormat &format);
    QString family(const QTextCharFormat &format) const;
    static std::optional<QColor> color(const QTextCharFormat &format, QTextFormat::Property property);

    QString m_defaultFamily;
    qreal m_defaultPoints = 12;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QColor> m_colors;
    QHash<QRgb, int> m_colorIndex;
};

} // namespace richtext
