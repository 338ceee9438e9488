#include "testdictionaries.h"
#include "testapplication.h"

#include "richtext/rtfwriter.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

// The words of the document under the wavy underline.
QStringList marked(const QTextDocument &document)
{
    QStringList words;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words.append(block.text().mid(range.start, range.length));
        }
    }
    return words;
}

void runUntilChecked(const spelling::SpellHighlighter &highlighter)
{
    for (int turn = 0; turn < 100000 && !highlighter.isFinished(); ++turn)
        QCoreApplication::processEvents();
}

class SpellingEditorTest : public ::testing::Test
{
protected:
    void SetUp() override { testApplication(); }

    TestDictionaries test;
    spelling::Service service{test.personalWords(), test.dictionaries, QLocale(QStringLiteral("en_US"))};
};

} // namespace

TEST_F(SpellingEditorTest, MarksAreTheLayoutsAloneAndALargeChangeIsCheckedBetweenEvents)
{
    QTextDocument document;
    spelling::SpellHighlighter highlighter(document, service, nullptr);
    QString text;
    for (int paragraph = 0; paragraph < 200; ++paragraph)
        text += QStringLiteral("We walked along the shore and saw a helo over the water today.\n");
    document.setPlainText(text);
    const QByteArray rtf = richtext::writeRtf(document);
    document.setModified(false);
    const int undoSteps = document.availableUndoSteps();
    EXPECT_FALSE(highlighter.isFinished()) << "a page opened is not checked before it shows";
    EXPECT_TRUE(marked(document).isEmpty());

    runUntilChecked(highlighter);
    EXPECT_EQ(marked(document), QStringList(200, QStringLiteral("helo")));
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.availableUndoSteps(), undoSteps);
    EXPECT_EQ(richtext::writeRtf(document), rtf);

    QTextCursor(&document).insertText(QStringLiteral("Wrogn "));
    EXPECT_EQ(marked(document).first(), QStringLiteral("Wrogn")) << "typing is checked before it shows";
    ASSERT_TRUE(service.addToDictionary(QStringLiteral("helo")));
    runUntilChecked(highlighter);
    EXPECT_EQ(marked(document), QStringList{QStringLiteral("Wrogn")});

    highlighter.detach();
    EXPECT_TRUE(marked(document).isEmpty()) << "nothing of the marks is printed";
    highlighter.attach();
    QCoreApplication::processEvents();
    runUntilChecked(highlighter);
    EXPECT_EQ(marked(document), QStringList{QStringLiteral("Wrogn")});
}

TEST_F(SpellingEditorTest, TheContextMenuOffersSuggestionsTheUsersChoicesAndTheLanguages)
{
    QTextEdit editor;
    editor.setPlainText(QStringLiteral("We saw a helo there"));
    editor.resize(400, 200);
    editor.show();
    spelling::EditorSpelling spelling(editor, service);
    QSignalSpy corrected(&spelling, &spelling::EditorSpelling::corrected);
    const auto pointAt = [&](const QString &word) {
        QTextCursor at(editor.document());
        at.setPosition(int(editor.toPlainText().indexOf(word)) + 1);
        return editor.cursorRect(at).center();
    };
    const auto texts = [](const QMenu &menu) {
        QStringList found;
        for (const QAction *action : menu.actions())
            found.append(action->text());
        return found;
    };

    const auto menu = spelling.contextMenu(pointAt(QStringLiteral("helo")));
    const QStringList offered = texts(*menu);
    const qsizetype add = offered.indexOf(QStringLiteral("Add to Dictionary"));
    ASSERT_GT(add, 0);
    EXPECT_TRUE(offered.mid(0, add).contains(QStringLiteral("hello")));
    EXPECT_EQ(offered[add + 1], QStringLiteral("Ignore"));
    QMenu *languages = menu->actions().last()->menu();
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(texts(*languages), (QStringList{QStringLiteral("English (United States)"), QStringLiteral("French (France)")}));
    EXPECT_TRUE(languages->actions().first()->isChecked());

    menu->actions()[offered.indexOf(QStringLiteral("hello"))]->trigger();
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("We saw a hello there"));
    EXPECT_EQ(corrected.count(), 1);
    EXPECT_FALSE(texts(*spelling.contextMenu(pointAt(QStringLiteral("there")))).contains(QStringLiteral("Ignore")));

    languages->actions().last()->trigger();
    EXPECT_EQ(service.language(), QStringLiteral("fr_FR"));
    const auto again = spelling.contextMenu(pointAt(QStringLiteral("there")));
    const QList<QAction *> picked = again->actions().last()->menu()->actions();
    EXPECT_FALSE(picked.first()->isChecked());
    EXPECT_TRUE(picked.last()->isChecked());
    EXPECT_TRUE(picked.last()->actionGroup()->isExclusive());
    const spelling::Service nextStart(test.personalWords(), test.dictionaries, QLocale(QStringLiteral("en_US")));
    EXPECT_EQ(nextStart.language(), QStringLiteral("fr_FR"));
}
