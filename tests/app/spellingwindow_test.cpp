#include "formharness.h"
#include "diarytexts.h"

#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "print/frmprint.h"
#include "session/daybook.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

bool marks(const QTextDocument &document, const QString &word)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (block.text().mid(range.start, range.length) == word)
                return true;
        }
    }
    return false;
}

spelling::EditorSpelling &spellingOf(QWidget &editor)
{
    auto *found = editor.findChild<spelling::EditorSpelling *>();
    EXPECT_NE(found, nullptr);
    return *found;
}

void chooseSuggestion(spelling::EditorSpelling &spelling, QTextEdit &editor, const QString &word, const QString &suggestion)
{
    QTextCursor at(editor.document());
    at.setPosition(int(editor.toPlainText().indexOf(word)) + 1);
    const auto menu = spelling.contextMenu(editor.cursorRect(at).center());
    for (QAction *action : menu->actions()) {
        if (action->text() == suggestion)
            return action->trigger();
    }
    ADD_FAILURE() << "no suggestion " << suggestion.toStdString();
}

} // namespace

// Marks never touch the page; a suggestion taken is a change like typing.
TEST(SpellingWindow, ThePageAndThePrintCopyAreMarkedAndAWordPutRightIsAChange)
{
    QTemporaryDir config;
    spelling::Service service(config.filePath(QStringLiteral("words.txt")), spelling::installed({QStringLiteral("/usr/share/hunspell")}),
                              QLocale(QStringLiteral("en_US")));
    ASSERT_EQ(service.language(), QStringLiteral("en_US"));
    FormHarness harness;
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 4), diarytexts::page("We went skaating today")));
    const QByteArray stored = *pagestore::load(harness.data.root(), QDate(2026, 12, 4));
    harness.spelling = &service;
    Form1 &form = harness.startWithoutPassword();
    form.show();

    spelling::EditorSpelling &page = spellingOf(*named<RichTextEdit>(form, "rtxt2"));
    page.highlighter().finishNow();
    EXPECT_TRUE(marks(*named<RichTextEdit>(form, "rtxt2")->document(), QStringLiteral("skaating")));
    EXPECT_EQ(form.session().book().filechanged(), 0);
    chooseSuggestion(page, *named<RichTextEdit>(form, "rtxt2"), QStringLiteral("skaating"), QStringLiteral("skating"));
    EXPECT_EQ(named<RichTextEdit>(form, "rtxt2")->text(), QStringLiteral("We went skating today"));
    EXPECT_EQ(form.session().book().filechanged(), 1);
    EXPECT_EQ(*pagestore::load(harness.data.root(), QDate(2026, 12, 4)), stored);

    named<QAction>(form, "m17")->trigger();
    auto *print = form.findChild<Frmprint *>();
    ASSERT_NE(print, nullptr);
    print->rtxt->setPlainText(QStringLiteral("A speling slip"));
    print->printchanged = 0;
    spelling::EditorSpelling &copy = spellingOf(*print->rtxt);
    copy.highlighter().finishNow();
    EXPECT_TRUE(marks(*print->rtxt->document(), QStringLiteral("speling")));
    chooseSuggestion(copy, *print->rtxt, QStringLiteral("speling"), QStringLiteral("spelling"));
    EXPECT_EQ(print->printchanged, 1);
    harness.dialogs.answerMessage(Dialogs::Button::No);
    print->close();
}
