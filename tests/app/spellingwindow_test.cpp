#include "formharness.h"

#include "print/frmprint.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextLayout>

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

// The editor's marks made at once, and the word among them.
void markNow(QTextEdit &editor, const QString &word)
{
    auto *spelling = editor.findChild<spelling::EditorSpelling *>();
    ASSERT_NE(spelling, nullptr);
    spelling->highlighter().finishNow();
    EXPECT_TRUE(marks(*editor.document(), word));
}

void putRight(QTextEdit &editor, const QString &word, const QString &suggestion)
{
    auto *spelling = editor.findChild<spelling::EditorSpelling *>();
    QTextCursor at(editor.document());
    at.setPosition(int(editor.toPlainText().indexOf(word)) + 1);
    const auto menu = spelling->contextMenu(editor.cursorRect(at).center());
    for (QAction *action : menu->actions()) {
        if (action->text() == suggestion)
            return action->trigger();
    }
    ADD_FAILURE() << "no suggestion " << suggestion.toStdString();
}

} // namespace

using SpellingWindow = FormTest;

// Marks never touch the page; a suggestion taken is a change like typing.
TEST_F(SpellingWindow, ThePageAndThePrintCopyAreMarkedAndAWordPutRightIsAChange)
{
    QTemporaryDir config;
    spelling::Service service(config.filePath(QStringLiteral("words.txt")), spelling::installed({QStringLiteral("/usr/share/hunspell")}),
                              QLocale(QStringLiteral("en_US")));
    ASSERT_EQ(service.language(), QStringLiteral("en_US"));
    storePage("2026-12-04", "We went skaating today");
    const QByteArray stored = *pagestore::load(harness.data.root(), QDate(2026, 12, 4));
    harness.spelling = &service;
    harness.startWithoutPassword();
    form().show();
    markNow(page(), QStringLiteral("skaating"));
    EXPECT_EQ(form().session().book().filechanged(), 0);
    putRight(page(), QStringLiteral("skaating"), QStringLiteral("skating"));
    EXPECT_EQ(page().text(), QStringLiteral("We went skating today"));
    EXPECT_EQ(form().session().book().filechanged(), 1);
    EXPECT_EQ(*pagestore::load(harness.data.root(), QDate(2026, 12, 4)), stored);

    run("m17");
    auto *print = form().findChild<Frmprint *>();
    ASSERT_NE(print, nullptr);
    print->rtxt->setPlainText(QStringLiteral("A speling slip"));
    print->printchanged = 0;
    markNow(*print->rtxt, QStringLiteral("speling"));
    putRight(*print->rtxt, QStringLiteral("speling"), QStringLiteral("spelling"));
    EXPECT_EQ(print->printchanged, 1);
    answer({Dialogs::Button::No});
    print->close();
}
