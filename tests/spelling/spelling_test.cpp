#include "richtext/rtfwriter.h"
#include "spelling/dictionaries.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"
#include "spelling/words.h"
#include "testapplication.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

// The system's en_US (linked) and a tiny French one in the data folder, there twice (mine, then the
// system's), and a personal word list of the test's own, so no test reads or writes the user's.
class Spelling : public ::testing::Test
{
protected:
    void SetUp() override { testApplication(); }
    QString personalWords() const { return folder.filePath(u"config/words.txt"_s); }
    static QStringList texts(const QMenu &menu)
    {
        QStringList found;
        std::ranges::transform(menu.actions(), std::back_inserter(found), &QAction::text);
        return found;
    }

    QTemporaryDir folder;
    QList<spelling::Dictionary> dictionaries = spelling::installed({QStringLiteral(SPELLING_DATA "/mine"), QStringLiteral(SPELLING_DATA "/system")});
    spelling::Service service{personalWords(), dictionaries, QLocale(u"en_US"_s)};
};

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

} // namespace

// A dictionary is found once, the first folder winning, and chosen by the locale; the user's own
// words are kept in every language, ignored ones only while the program runs.
TEST_F(Spelling, DictionariesAreFoundOnceAndChosenByTheLocaleAndTheUsersOwnWordsLast)
{
    ASSERT_EQ(dictionaries.size(), 2) << "de_DE has no word list";
    EXPECT_EQ(spelling::forLocale(dictionaries, QLocale(u"fr_CA"_s))->name, u"fr_FR"_s);
    EXPECT_EQ(spelling::forLocale({dictionaries[1]}, QLocale::c()), dictionaries[1]);
    EXPECT_FALSE(spelling::forLocale(dictionaries, QLocale::c())) << "two leave the choice to the user";
    const QString text = u"Don't stop: the 3rd A4 page, été."_s;
    QStringList words;
    std::ranges::transform(spelling::wordsOf(text), std::back_inserter(words), [&](const spelling::Word &word) { return text.mid(word.start, word.length); });
    EXPECT_EQ(words, (QStringList{u"Don't"_s, u"stop"_s, u"the"_s, u"page"_s, u"été"_s}));

    EXPECT_TRUE(service.isMisspelt(u"helo"_s) && !service.isMisspelt(u"hello"_s) && !service.isMisspelt(u"don't"_s) && service.suggestions(u"helo"_s).size() <= 5);
    EXPECT_TRUE(service.addToDictionary(u"Quillnest"_s));
    service.ignore(u"Zorbl"_s);
    EXPECT_FALSE(service.isMisspelt(u"Quillnest"_s) || service.isMisspelt(u"Zorbl"_s));
    spelling::Service again(personalWords(), dictionaries, QLocale(u"en_US"_s));
    EXPECT_TRUE(!again.isMisspelt(u"Quillnest"_s) && again.isMisspelt(u"Zorbl"_s));
    again.setLanguage(u"fr_FR"_s);
    EXPECT_TRUE(again.isMisspelt(u"hello"_s) && !again.isMisspelt(u"été"_s)) << "été is in the first folder's fr_FR alone";
    EXPECT_FALSE(again.isMisspelt(u"Quillnest"_s)) << "the user's words hold in every language";
    EXPECT_FALSE(spelling::Service(personalWords(), {}, QLocale(u"en_US"_s)).isMisspelt(u"helo"_s)) << "nothing is marked without a dictionary";
}

TEST_F(Spelling, MarksAreTheLayoutsAloneAndALargeChangeIsCheckedBetweenEvents)
{
    QTextDocument document;
    spelling::SpellHighlighter highlighter(document, service, nullptr);
    document.setPlainText(u"We walked along the shore and saw a helo over the water today.\n"_s.repeated(200));
    const QByteArray rtf = richtext::writeRtf(document);
    document.setModified(false);
    const int undoSteps = document.availableUndoSteps();
    EXPECT_FALSE(highlighter.isFinished()) << "a page opened is not checked before it shows";

    for (int turn = 0; turn < 100000 && !highlighter.isFinished(); ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(marked(document), QStringList(200, u"helo"_s));
    EXPECT_EQ(std::tuple(document.isModified(), document.availableUndoSteps(), richtext::writeRtf(document)), std::tuple(false, undoSteps, rtf));

    QTextCursor(&document).insertText(u"Wrogn "_s);
    EXPECT_EQ(marked(document).first(), u"Wrogn"_s) << "typing is checked before it shows";
    ASSERT_TRUE(service.addToDictionary(u"helo"_s));
    for (int turn = 0; turn < 100000 && !highlighter.isFinished(); ++turn)
        QCoreApplication::processEvents();
    EXPECT_EQ(marked(document), QStringList{u"Wrogn"_s});
    highlighter.detach();
    EXPECT_TRUE(marked(document).isEmpty());
}

// Choosing a suggestion is the window's to test; here the menu's own entries and the language picked.
TEST_F(Spelling, TheContextMenuOffersTheUsersChoicesAndTheLanguages)
{
    QTextEdit editor;
    editor.setPlainText(u"We saw a helo there"_s);
    editor.resize(400, 200);
    editor.show();
    spelling::EditorSpelling spelling(editor, service);
    const auto menuAt = [&](const QString &word) {
        QTextCursor at(editor.document());
        at.setPosition(int(editor.toPlainText().indexOf(word)) + 1);
        return spelling.contextMenu(editor.cursorRect(at).center());
    };
    const auto menu = menuAt(u"helo"_s);
    const QStringList offered = texts(*menu);
    const qsizetype add = offered.indexOf(u"Add to Dictionary"_s);
    ASSERT_GT(add, 0) << "suggestions come first";
    EXPECT_TRUE(offered[add + 1] == u"Ignore" && !texts(*menuAt(u"there"_s)).contains(u"Ignore"_s)) << offered.join(u'|').toStdString();
    QMenu *languages = menu->actions().last()->menu();
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(texts(*languages), (QStringList{u"English (United States)"_s, u"French (France)"_s}));
    EXPECT_TRUE(languages->actions().first()->isChecked());

    languages->actions().last()->trigger();
    EXPECT_EQ(service.language(), u"fr_FR"_s);
    const auto again = menuAt(u"there"_s);
    const QList<QAction *> picked = again->actions().last()->menu()->actions();
    EXPECT_TRUE(!picked.first()->isChecked() && picked.last()->isChecked() && picked.last()->actionGroup()->isExclusive());
    EXPECT_EQ(spelling::Service(personalWords(), dictionaries, QLocale(u"en_US"_s)).language(), u"fr_FR"_s);
}
