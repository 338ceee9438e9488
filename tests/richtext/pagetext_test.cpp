#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QTextDocument>

#include <gtest/gtest.h>

// What an export takes as a page's text is refused exactly where the reader refuses the page, a paragraph's end
// counting one, however long the run of plain text that passes the limit.
TEST(PageText, IsRefusedExactlyWhereTheReaderRefusesThePage)
{
    constexpr qsizetype kMost = richtext::limits::kPageCharacters;
    for (const qsizetype over : {0, 1, 1000}) {
        const QByteArray rtf = "{\\rtf1\\ansi " + QByteArray(1000, 'w') + "\\par " + QByteArray(kMost - 1001 + over, 'w') + "}";
        QTextDocument document;
        const bool read = richtext::readRtf(rtf, document);
        const auto text = richtext::pageText(rtf);
        EXPECT_EQ(std::pair(read, text.has_value()), std::pair(over == 0, over == 0)) << over;
        EXPECT_TRUE(!text || (*text == richtext::visibleText(rtf) && text->size() == kMost));
    }
}
