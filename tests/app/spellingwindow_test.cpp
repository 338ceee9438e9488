#include "formharness.h"

#include "richtext/rtfreader.h"
#include "richtext/rule.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"
#include "sync/copymerge.h"
#include "sync/pageparagraphs.h"

#include <QTextBlock>

namespace {

void putRight(QTextEdit &editor, const QString &word, const QString &suggestion)
{
    auto *spelling = editor.findChild<spelling::EditorSpelling *>();
    ASSERT_NE(spelling, nullptr);
    // The marks made at once, as a pause in the typing would.
    spelling->highlighter().finishNow();
    QTextCursor at(editor.document());
    at.setPosition(int(editor.toPlainText().indexOf(word)) + 1);
    const auto menu = spelling->contextMenu(editor.cursorRect(at).center());
    for (QAction *action : menu->actions())
        if (action->text() == suggestion)
            return action->trigger();
    ADD_FAILURE() << "no suggestion " << suggestion.toStdString();
}

} // namespace

using SpellingWindow = FormTest;

// The page and the print copy offer suggestions; one taken is a change like typing. Keep both sets the
// other's text below a drawn line and a heading the spelling passes over.
TEST_F(SpellingWindow, ThePageAndThePrintCopyOfferSuggestionsAWordPutRightIsAChangeAndKeepBothsHeadingIsNotChecked)
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
    putRight(page(), QStringLiteral("skaating"), QStringLiteral("skating"));
    EXPECT_EQ(std::tuple(page().text(), form().session().book().filechanged(), *pagestore::load(harness.data.root(), QDate(2026, 12, 4))),
              std::tuple(QStringLiteral("We went skating today"), 1, stored));

    run("m17");
    auto *print = form().findChild<Frmprint *>();
    ASSERT_NE(print, nullptr);
    print->rtxt->setPlainText(QStringLiteral("A speling slip"));
    print->printchanged = 0;
    putRight(*print->rtxt, QStringLiteral("speling"), QStringLiteral("spelling"));
    EXPECT_EQ(print->printchanged, 1);
    answer({Button::No});
    print->close();

    const QString heading = QStringLiteral("From the other computer (Syncthing, 2026-12-04 18:30:12):");
    const auto side = [](const char *text) { return pageparagraphs::split(diarytexts::page(text)).value_or(QStringList()); };
    QTextDocument kept;
    ASSERT_TRUE(richtext::readRtf(pageparagraphs::join(copymerge::bothKept(side("here"), side("skaating there"),
                                                                            pageparagraphs::pageLines(harness.data.root(), QDate(2026, 12, 4)), heading)),
                                  kept));
    spelling::SpellHighlighter marks(kept, service, nullptr);
    marks.finishNow();
    QStringList seen;
    for (QTextBlock block = kept.begin(); block.isValid(); block = block.next()) {
        seen << block.text() + (richtext::hasRule(block.blockFormat()) ? QStringLiteral("[rule]") : QString());
        for (const QTextLayout::FormatRange &mark : block.layout()->formats())
            seen.last() += QStringLiteral(" ~") + block.text().mid(mark.start, mark.length);
    }
    EXPECT_EQ(seen, (QStringList{QStringLiteral("here"), QStringLiteral("[rule]"), heading, QStringLiteral("skaating there ~skaating")}));
}
