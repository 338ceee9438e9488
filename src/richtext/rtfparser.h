#pragma once

#include "documentbuilder.h"
#include "rtfcodepages.h"
#include "rtfcontrolwords.h"
#include "rtfpicturedata.h"
#include "rtftokenizer.h"

#include "diary/codepage.h"

#include <QColor>
#include <QTextDocument>

#include <map>
#include <optional>
#include <vector>

namespace richtext {

class RtfParser
{
public:
    RtfParser(QByteArrayView rtf, QTextDocument &document);
    void run();

private:
    enum class Destination { Text, Skip, FontTable, ColorTable, Picture };

    struct CharState
    {
        int font = -1;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
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
    };

    struct Group
    {
        CharState chars;
        // Saved with the group like character state, so a list marker's
        // own \pard inside {\listtext ...} leaves its paragraph alone.
        Paragraph paragraph;
        Destination destination = Destination::Text;
        int unicodeSkip = 1;
        bool inObject = false;
    };

    struct Font
    {
        QString name;
        QByteArray codePage;
    };

    // rtfparser.cpp: tokens, groups and text
    void openGroup();
    bool closeGroup();
    void text(QByteArrayView bytes);
    void symbol(uchar value);
    void binary(QByteArrayView bytes);
    bool skipping(const RtfToken &token);
    void appendCharacter(char16_t character);
    void flushBytes();
    void syncFormat();
    QByteArray codePage() const;
    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    void finish();
    Group &top() { return m_groups.back(); }

    // rtfparsercontrols.cpp: control words
    void word(const RtfToken &token);
    bool destinationWord(Control control);
    void fontTableWord(Control control, int value);
    void colorTableWord(Control control, int value);
    void pictureWord(const RtfToken &token, Control control, int value);
    bool characterWord(const ControlWord &word, int value, bool on);
    bool paragraphWord(Control control, int value);
    void documentWord(Control control, int value);
    void endFontName();
    void endPicture();

    RtfTokenizer m_tokens;
    QTextDocument &m_document;
    DocumentBuilder m_builder;
    CodePageDecoder m_decoder;
    std::vector<Group> m_groups;
    int m_overflowDepth = 0;
    bool m_starred = false;
    int m_skipCount = 0;
    QByteArray m_bytes;
    QByteArray m_bytesCodePage;
    std::optional<CharState> m_runState;
    QByteArray m_documentCodePage = codepage::kName;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontName;
    std::vector<std::optional<QColor>> m_colors;
    QColor m_colorEntry;
    bool m_colorEntryUsed = false;
    RtfPictureData m_picture;
    size_t m_pictureDepth = 0;
};

} // namespace richtext
