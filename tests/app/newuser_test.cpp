#include "formharness.h"
#include "cheapkdf.h"
#include "modaldialog.h"

#include "app/lockbox.h"
#include "richtext/rtfreader.h"
#include "richtext/rule.h"
#include "session/vaultcontrols.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"
#include "sync/pageparagraphs.h"
#include "ui/choicedialog.h"
#include "ui/dayfield.h"

#include <QDialogButtonBox>
#include <QListView>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

using NewUser = FormTest;

// A day typed in a form Export does not read greys out OK and names the forms it takes.
TEST_F(NewUser, ExportNamesTheFormsOfADayWhileOneCannotBeRead)
{
    testApplication();
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QList<std::pair<bool, bool>> states;
    QString told;
    whenModalShown([&](QDialog &dialog) {
        const auto days = dialog.findChildren<DayField *>();
        auto *forms = dialog.findChild<QLabel *>(QStringLiteral("dayForms"));
        ASSERT_TRUE(days.size() == 2 && forms);
        const auto state = [&] { return std::pair(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), forms->isVisible()); };
        states << state();
        days[0]->setText(QStringLiteral("11/12/2026"));
        states << state();
        told = forms->text();
        days[0]->setText(QStringLiteral("11.12.2026"));
        states << state();
    });
    runChoiceDialog(nullptr, QStringLiteral("Export"), QStringLiteral("Format:"), {QStringLiteral("PDF")}, {0, Dialogs::DayRange{QDate(2026, 11, 20), QDate(2026, 12, 4)}});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(states, (QList<std::pair<bool, bool>>{{true, false}, {false, true}, {true, false}}));
    EXPECT_EQ(told, QStringLiteral("Type each day as 20.11.2026, 2026-11-20 or 20 November 2026."));
}

// Keep both sets the other's text below a drawn line and a heading the spelling passes over.
TEST_F(NewUser, KeepBothPutsTheOtherTextBelowARuleAndAnUncheckedHeading)
{
    QTemporaryDir config;
    const spelling::Service service(config.filePath(QStringLiteral("words.txt")), spelling::installed({QStringLiteral("/usr/share/hunspell")}),
                                    QLocale(QStringLiteral("en_US")));
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
