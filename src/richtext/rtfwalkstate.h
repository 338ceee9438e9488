#pragma once

#include "rtfcodepages.h"
#include "rtfcontrolwords.h"
#include "rtftokenizer.h"

#include "diary/codepage.h"

#include <QColor>
#include <QRect>

#include <map>
#include <optional>
#include <vector>

namespace richtext {

// What a control word asks of the walker beyond the reader's own state.
struct RtfWordResult
{
    enum Kind { Nothing, Character, Paragraph, Picture, PictureWord, FootnoteMark };
    Kind kind = Nothing;
    char16_t character = 0;
};

// The reader's state at each point of a page: the group stack with its
// character and paragraph state, the font and colour tables and the code
// pages. It turns control words into that state and says which of them make
// text or pictures; RtfWalk turns those into calls of its sink.
class RtfState
{
protected:
    enum class Destination { Text, Skip, FontTable, ColorTable, Picture, ShapeName };
    // What a skipped group still shows: a shape's picture or text box, or
    // the Unicode half of a \upr pair.
    enum class Reveals : uchar { Nothing, Shape, ShapePicture, UnicodeText };

    // Any change ends a run of text.
    struct CharState
    {
        int font = -1;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool noProof = false;
        int underline = 0;
        int foreground = -1;
        int background = -1;
        bool operator==(const CharState &) const = default;
    };

    struct Paragraph
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        bool ruled = false;
    };

    struct Group
    {
        CharState chars;
        // Saved with the group like character state, so a list marker's
        // own \pard inside {\listtext ...} leaves its paragraph alone.
        Paragraph paragraph;
        Destination destination = Destination::Text;
        int unicodeSkip = 1;
        Reveals reveals = Reveals::Nothing;
    };

    struct Font
    {
        QString name;
        QByteArray codePage;
    };

    RtfState();

    // Groups, tables and text bytes: rtfwalkstate.cpp, and inline, as the
    // loop meets them every few words, rtfwalkwords.h.
    Group &top() { return m_groups.back(); }
    const Group &top() const { return m_groups.back(); }
    void openGroup();
    // True when a group of the stack is about to close: not one past the
    // depth limit, nor the outermost.
    bool groupCloses();
    // True when the outermost group is left, which ends the page.
    bool popGroup();
    void tableText(QByteArrayView bytes);
    bool runChanged() const { return m_runState != top().chars; }
    inline void startRun();
    void holdBytes(QByteArrayView bytes) { m_bytes.append(bytes); }
    // Decodes the held bytes in the run's code page and lets them go.
    void decodeHeld(QString &out);
    // The font of the current characters, when the table names it.
    inline const Font *font() const;

    // Control words: rtfwalkwords.h, and the rarer ones rtfwalkwords.cpp.
    inline RtfWordResult word(const ControlWord &known, const RtfToken &token);

    std::vector<Group> m_groups;
    bool m_starred = false;
    int m_skipCount = 0;
    QByteArray m_bytes;
    QByteArray m_runCodePage;
    std::vector<std::optional<QColor>> m_colors;
    size_t m_pictureDepth = 0;
    // The size a floating picture takes in the page, in twips; empty for a
    // picture of the text flow, which keeps its own.
    QSize m_pictureBox;
    int m_footnotes = 0;

private:
    inline QByteArray codePage() const;
    void endFontName();
    inline RtfWordResult textWord(const ControlWord &known, const RtfToken &token);
    static inline bool characterWord(Group &group, Control control, int value, bool on);
    static inline bool paragraphWord(Paragraph &paragraph, Control control, int value);
    inline RtfWordResult startPicture(QSize box);
    RtfWordResult revealWord(Control control, int value);
    RtfWordResult shapeWord(Control control, int value);
    bool fallbackWanted();
    bool destinationWord(Control control);
    void fontTableWord(Control control, int value);
    void colorTableWord(Control control, int value);
    void documentWord(Control control, int value);

    CodePageDecoder m_decoder;
    int m_overflowDepth = 0;
    std::optional<CharState> m_runState;
    QByteArray m_documentCodePage = codepage::kName;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontName;
    QColor m_colorEntry;
    bool m_colorEntryUsed = false;
    // A shape's fallback (\shprslt, \nonshppict) shows only when the shape
    // itself showed nothing: m_shapeContent counts what shapes and pictures
    // showed, and m_shapeMark is its count when the last shape began.
    int m_shapeContent = 0;
    int m_shapeMark = -1;
    size_t m_shapeDepth = 0;
    QRect m_shapeBox;
    QByteArray m_shapeName;
};

} // namespace richtext
