#include "formharness.h"
#include "syncthingpair.h"
#include "testapplication.h"

#include "app/presencekeeper.h"
#include "diary/conversion.h"
#include "diary/history.h"
#include "diary/keyslotfile.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "sync/copylines.h"
#include "sync/presence.h"
#include "sync/syncthingdevice.h"
#include "vault/vault.h"

#include "fixedclock.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "testdataroot.h"
#include "seams/messages.h"

#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <iostream>
#include <random>
#include <ranges>

namespace {

using enum SyncthingPair::Computer;

const QDate kDay(2026, 12, 4);
const QStringList kBase{QStringLiteral("Title"), QStringLiteral("base1 base2"), QStringLiteral("base3 base4"),
                        QStringLiteral("base5 base6")};
const QString kPassword = QStringLiteral("correct horse");

QSet<QString> wordsOf(const QString &text)
{
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    return {words.begin(), words.end()};
}

// Sorted, so a failure reads.
std::string missing(const QSet<QString> &expected, const QSet<QString> &found)
{
    QStringList words = (expected - found).values();
    words.sort();
    return words.join(u' ').toStdString();
}

// A page's first paragraph is its centred bold title.
QByteArray page(const QStringList &paragraphs)
{
    QTextDocument document;
    document.setHtml(QStringLiteral("<div align=center><b>%1</b></div><div>%2</div>")
                         .arg(paragraphs.front(), paragraphs.mid(1).join(QStringLiteral("</div><div>"))));
    return richtext::writeRtf(document);
}

// A day's page or that day's yearly note, read and written through the program's own stores: a line is a
// paragraph of the page or a line of the note.
struct DiaryText
{
    QDate day;
    bool note = false;

    QString file(const DataRoot &root) const { return note ? root.notePath(daykeys::MonthDay{day.month(), day.day()}) : root.pagePath(day); }
    // The text of the stored file or of one of its earlier versions.
    QString text(const DataRoot &root, const QString &path) const
    {
        if (note)
            return notestore::decodeNote(notestore::loadFile(root, path, file(root)).value_or(QByteArray()));
        const auto rtf = pagestore::loadFile(root, path, file(root));
        QTextDocument document;
        return rtf && richtext::readRtf(*rtf, document) ? document.toPlainText() : QString();
    }
    QStringList lines(const DataRoot &root) const { return text(root, file(root)).remove(u'\r').split(u'\n'); }
    Outcome save(const DataRoot &root, const QStringList &lines) const
    {
        return note ? notestore::save(root, {day.month(), day.day()}, lines.join(u'\n')) : pagestore::save(root, day, page(lines));
    }
    // With the history, the words of every earlier version it keeps as well.
    QSet<QString> words(const DataRoot &root, bool withHistory) const
    {
        QSet<QString> found = wordsOf(text(root, file(root)));
        for (const history::Version &version : withHistory ? history::versions(root, file(root)) : QList<history::Version>())
            found += wordsOf(text(root, version.path));
        return found;
    }
};

// One save on one computer: a paragraph added at the end, a word added to a paragraph of the text the round
// began with, that paragraph removed, or all but the title replaced by one paragraph. Every word typed is new, so
// a paragraph is known by its text, and a changed one by the text it began with.
struct Save
{
    enum Kind { Append, Extend, Remove, Replace } kind;
    QString line;
    SyncthingPair::Computer on;
};

// The names below a folder, its history included, that Syncthing gave a conflict copy.
QStringList conflictCopies(const QString &folder)
{
    const auto names = filesUnder(folder) | std::views::keys;
    return QStringList(names.begin(), names.end()).filter(QStringLiteral(".sync-conflict-"));
}

// Two computers sharing one diary folder, each with the program's view of it.
class TwoComputers : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pair.begin());
        roots = {DataRoot(pair.folder(Desktop)), DataRoot(pair.folder(Laptop))};
        for (const DataRoot &root : roots)
            ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("pages")) && QDir(root.path()).mkpath(QStringLiteral("dates")));
    }

    // That computer's user makes the save, typing a word no one typed before, named after the computer.
    QString type(const Save &save, const DiaryText &text)
    {
        QStringList lines = text.lines(roots[save.on]);
        const QString word = QStringLiteral("%1%2").arg(save.on == Desktop ? u"desktop" : u"laptop").arg(++typedSoFar[save.on]);
        if (save.kind == Save::Append)
            lines << word;
        else if (save.kind == Save::Replace)
            lines = {lines.front(), word};
        else if (save.kind == Save::Extend)
            lines[lines.indexOf(save.line)] += u' ' + word;
        else
            lines.removeOne(save.line);
        EXPECT_TRUE(text.save(roots[save.on], lines).ok());
        return word;
    }

    // Both computers hold the same text, no conflict copy is left anywhere, every typed word is in the text,
    // and every word either computer ever had in it is in it or its history.
    void expectOneText(const DiaryText &text, const QSet<QString> &typed) const
    {
        for (const DataRoot &root : roots) {
            SCOPED_TRACE(root.path().toStdString());
            EXPECT_EQ(conflictCopies(root.path()), QStringList());
            EXPECT_EQ(text.lines(root), text.lines(roots.front()));
            EXPECT_EQ(missing(typed, text.words(root, false)), "");
            EXPECT_EQ(missing(typed + wordsOf(kBase.join(u' ')), text.words(root, true)), "");
        }
    }

    // The desktop's diary is encrypted before the laptop first has it; the laptop opens it with the password
    // that arrives with it in pw.dat.
    void encryptOnDesktop()
    {
        SecretBytes master = keyslot::newMasterKey();
        const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().floor);
        ASSERT_TRUE(slot);
        auto vault = std::make_shared<Vault>(std::move(master), *slot);
        ASSERT_TRUE(conversion::encrypt(roots[Desktop], *vault, keyslot::format(*slot)).ok());
        roots[Desktop] = DataRoot(roots[Desktop].path(), vault);
        ASSERT_TRUE(pair.sync());
        auto opened = KeySlotFile(roots[Laptop].passwordFile()).open(keyslot::passwordBytes(kPassword));
        ASSERT_TRUE(opened);
        roots[Laptop] = DataRoot(roots[Laptop].path(), std::make_shared<Vault>(std::move(opened->key), opened->slot));
    }

    // As a user of the tool merges, giving the password only to an encrypted diary: a plain one's tool would not
    // read it, and may be gone before it is written.
    void mergeWithTool(const DataRoot &root) const
    {
        const auto copies = conflictcopies::find(root).size();
        QProcess tool;
        QStringList arguments{QStringLiteral("conflicts"), QStringLiteral("--root"), root.path(), QStringLiteral("--merge")};
        if (root.vault())
            arguments << QStringLiteral("--password-fd") << QStringLiteral("0");
        tool.start(QStringLiteral(QUILLNEST_TOOL), arguments);
        if (root.vault())
            tool.write((kPassword + u'\n').toUtf8());
        tool.closeWriteChannel();
        ASSERT_TRUE(tool.waitForFinished(60000));
        const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
        const auto left = conflictcopies::find(root).size();
        EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        EXPECT_EQ(out.count(QStringLiteral(": merged into ")), copies - left) << out.toStdString();
        EXPECT_TRUE(out.endsWith(left == 1 ? QStringLiteral("1 conflict copy\n") : QStringLiteral("%1 conflict copies\n").arg(left)));
    }

    // The key slot, Syncthing's rules and the tool's lock hold no diary text; the lock stays on its computer.
    void expectAllSealed() const
    {
        const QStringList unsealed{QStringLiteral("pw.dat"), QStringLiteral(".stignore"), QStringLiteral(".quillnest-lock")};
        EXPECT_FALSE(QFile::exists(roots[Desktop].path() + QStringLiteral("/.quillnest-lock")));
        for (const DataRoot &root : roots) {
            for (const auto &[name, bytes] : filesUnder(root.path()))
                EXPECT_TRUE(unsealed.contains(QFileInfo(name).fileName()) || bytes.startsWith(sealing::kHeader)) << name.toStdString();
        }
    }

    // Before the pair: its network access needs the application.
    const QApplication &application = testApplication();
    SyncthingPair pair;
    std::vector<DataRoot> roots;
    std::array<int, 2> typedSoFar{};
};

} // namespace

TEST_F(TwoComputers, AStartOnTheSecondComputerSaysTheDiaryIsOpenOnTheFirst)
{
    const QString desktop = QStringLiteral("desktop-1a2b3c4d");
    const QDateTime since = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(presence::announce(pair.folder(Desktop), since, desktop));
    ASSERT_TRUE(pair.sync());
    ScriptedDialogs dialogs;
    dialogs.answerMessage(Dialogs::Button::Ok);
    {
        PresenceKeeper keeper(pair.folder(Laptop), nullptr);
        EXPECT_TRUE(keeper.admit(dialogs));
        ASSERT_TRUE(pair.sync());
        EXPECT_TRUE(QFile::exists(pair.folder(Desktop) + QStringLiteral("/.quillnest/open/") + presence::thisComputer()))
            << "the laptop's window is known on the desktop";
    }
    EXPECT_EQ(dialogs.shown(), QList({ScriptedDialogs::shownBox(messages::openElsewhere(
                                   QSysInfo::machineHostName(), QLocale().toString(since.toLocalTime(), QLocale::ShortFormat)))}));
    presence::withdraw(pair.folder(Desktop), desktop);
    ASSERT_TRUE(pair.sync());
    for (const DataRoot &root : roots)
        EXPECT_EQ(QDir(root.path() + QStringLiteral("/.quillnest/open")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// Syncthing names a copy after the device that kept the file's own name: this computer's is read from its home.
TEST_F(TwoComputers, EachComputersDeviceIsReadAsSyncthingNamesIt)
{
    for (const auto computer : {Desktop, Laptop}) {
        qputenv("STHOMEDIR", pair.home(computer).toLocal8Bit());
        EXPECT_EQ(syncthingdevice::thisShortId(), pair.deviceId(computer).left(7));
    }
    qunsetenv("STHOMEDIR");
}

// The desktop's window has the page open while the laptop's version arrives under the page's own name, so
// Syncthing makes no copy: the window's save is what must not overwrite it.
TEST_F(TwoComputers, AWindowSavingOverAPageThatChangedUnderItMergesTheTwo)
{
    const DiaryText text{kDay};
    ASSERT_TRUE(text.save(roots[Desktop], kBase).ok() && passwordfile::write(roots[Desktop].passwordFile(), u"none"));
    ASSERT_TRUE(pair.sync());
    ScriptedDialogs dialogs;
    FixedClock clock{kDay};
    RecordingProgram program;
    DiarySession window(dialogs, clock);
    window.setDataRoot(pair.folder(Desktop));
    dialogs.answerMessage(Dialogs::Button::Ok);
    ASSERT_TRUE(window.signIn(program));
    QTextCursor typing(&window.book().page());
    typing.movePosition(QTextCursor::End);
    typing.insertText(QStringLiteral(" windowword"));
    window.book().markChanged();

    const QSet<QString> typed = QSet{type({Save::Extend, kBase[1], Laptop}, text), QStringLiteral("windowword")};
    ASSERT_TRUE(pair.sync());
    dialogs.answerMessage(Dialogs::Button::Yes);
    dialogs.answerMessage(Dialogs::Button::Ok);
    window.book().SavePage();
    EXPECT_EQ(dialogs.texts().last(), messages::pageMergedOnSave().text);
    ASSERT_TRUE(pair.sync());
    expectOneText(text, typed);
}

// The desktop's window stays open while the laptop's versions arrive: first the page the window left untouched,
// which it shows as the laptop saved it; then, after both changed its same paragraph apart, the copy Syncthing makes,
// which the window bars. Each is seen within 2 s of the sync that brought it, and the copy is settled from the bar.
TEST_F(TwoComputers, AnOpenWindowSeesWhatTheOtherComputerSavedWithinTwoSeconds)
{
    const DiaryText text{kDay};
    ASSERT_TRUE(text.save(roots[Desktop], kBase).ok() && passwordfile::write(roots[Desktop].passwordFile(), u"none"));
    ASSERT_TRUE(pair.sync());
    FormHarness window;
    AppServices services = window.services();
    services.startDirectory = pair.folder(Desktop);
    window.dialogs.answerMessage(Dialogs::Button::Ok);
    window.start(services);
    ASSERT_TRUE(window.form->startedUp());
    auto &page = *named<RichTextEdit>(*window.form, "rtxt2");
    const auto *bar = named(*window.form, "copyBar");
    const auto barSays = [bar] { return bar->isHidden() ? QString() : bar->findChild<QLabel *>()->text(); };
    const auto shows = [&](const QString &line) {
        return QTest::qWaitFor([&] { return barSays().contains(line) && page.toPlainText().split(u'\n') == text.lines(roots[Desktop]); }, 2000);
    };

    QSet<QString> typed{type({Save::Extend, kBase[1], Laptop}, text)};
    ASSERT_TRUE(pair.sync());
    EXPECT_TRUE(shows(messages::pageArrived())) << barSays().toStdString();

    ASSERT_TRUE(pair.stop(Laptop));
    typeAtEnd(page, QStringLiteral(" desktopword"));
    typed << QStringLiteral("desktopword");
    window.dialogs.answerMessage(Dialogs::Button::Yes);
    named<QAction>(*window.form, "m2")->trigger();
    typed << type({Save::Extend, kBase[3], Laptop}, text); // the paragraph typed into, so the copy needs the user
    ASSERT_TRUE(pair.start(Laptop));
    ASSERT_TRUE(pair.sync());
    EXPECT_TRUE(shows(QStringLiteral("also changed on another computer"))) << barSays().toStdString();
    EXPECT_EQ(conflictcopies::find(roots[Desktop]).size(), 1);

    window.dialogs.answerCompare(2);
    named<QPushButton>(*window.form, "compareCopy")->click();
    ASSERT_TRUE(pair.sync());
    expectOneText(text, typed);
    EXPECT_EQ(window.dialogs.texts().size(), 3) << "the sign-in's notice, the save's question and the comparison alone";
    EXPECT_EQ(window.dialogs.texts().first(2), (QStringList{messages::noPassword().text, messages::overwritePage().text}));
}

namespace {

enum Kind { OneComputer, Apart, ThirdSave, TwoOrThreeCopies, SameParagraph, WholeText, kKinds };

// The saves of each time both computers change the text before they meet: a copy for each time both did.
using Rounds = QList<QList<Save>>;

// Paragraphs apart for every save but in the kinds made to clash; a removal only where enough stay.
Rounds plan(Kind kind, QStringList lines, std::mt19937 &random)
{
    std::shuffle(lines.begin(), lines.end(), random);
    const auto any = [&](SyncthingPair::Computer on) {
        const auto pick = Save::Kind(random() % 3);
        if (lines.isEmpty() || pick == Save::Append)
            return Save{Save::Append, {}, on};
        return Save{lines.size() > 3 ? pick : Save::Extend, lines.takeFirst(), on};
    };
    const auto first = random() % 2 ? Desktop : Laptop;
    const auto second = first == Desktop ? Laptop : Desktop;
    switch (kind) {
    case OneComputer:
        return {{any(first)}};
    case ThirdSave:
        return {{any(first), any(second), any(first)}};
    case TwoOrThreeCopies:
        return random() % 2 ? Rounds{{any(first), any(second)}, {any(second), any(first)}}
                            : Rounds{{any(first), any(second)}, {any(first), any(second)}, {any(second), any(first)}};
    case SameParagraph: {
        const QString line = lines.value(0);
        return {{{Save::Extend, line, first}, {random() % 2 ? Save::Extend : Save::Remove, line, second}}};
    }
    case WholeText:
        return {{{Save::Replace, {}, first}, random() % 2 ? Save{Save::Append, {}, second} : Save{Save::Extend, lines.value(0), second}}};
    default:
        return {{any(first), any(second)}};
    }
}

// What a merge that needs no question makes of the text, worked out from the saves alone, or nothing when two
// saves on different computers or at different times touch the same paragraph, which must be asked about.
std::optional<QSet<QString>> expected(const QStringList &base, const Rounds &rounds, const QHash<const Save *, QString> &typed)
{
    QSet<QString> lines(base.begin(), base.end());
    QHash<QString, int> touched;
    for (const QList<Save> &saves : rounds) {
        for (const Save &save : saves) {
            const QStringList hit = save.kind == Save::Replace ? base.mid(1) : save.kind == Save::Append ? QStringList() : QStringList{save.line};
            for (const QString &line : hit) {
                if (touched.contains(line) && touched[line] != int(&saves - rounds.data()) * 2 + save.on)
                    return std::nullopt;
                touched[line] = int(&saves - rounds.data()) * 2 + save.on;
                lines.remove(line);
            }
            if (save.kind == Save::Extend)
                lines << save.line + u' ' + typed[&save];
            else if (save.kind != Save::Remove)
                lines += QSet<QString>{typed[&save]};
        }
    }
    return lines;
}

// A user who kept both versions takes out the heading, the empty line and each paragraph that is there twice or
// also there with words added.
QStringList tidied(QStringList lines, const QString &heading)
{
    lines.removeAll(heading);
    lines.removeAll(QString());
    lines.removeDuplicates();
    const QStringList all = lines;
    lines.removeIf([&all](const QString &line) {
        return std::ranges::any_of(all, [&line](const QString &other) { return other.startsWith(line + u' '); });
    });
    return lines;
}

} // namespace

// Each round both computers change one of three pages or a note before either scans, so they cannot meet; then
// the folders sync, the program merges on either computer, and what it asks is settled by keeping both. Each
// merge made without a question is checked against what the saves alone say it must be. Both instances keep
// running: stopping one each round makes a round more than twice as long.
class RandomRounds : public TwoComputers, public testing::WithParamInterface<std::pair<int, bool>>
{
};

TEST_P(RandomRounds, LoseNoWordMergeNothingWronglyAndMergeMostEditsApartWithoutAQuestion)
{
    const auto [kRounds, sealed] = GetParam();
    const std::array texts{DiaryText{kDay}, DiaryText{kDay.addDays(1)}, DiaryText{kDay.addDays(2)}, DiaryText{kDay, true}};
    std::array<QSet<QString>, texts.size()> typedIn;
    for (const DiaryText &text : texts)
        ASSERT_TRUE(text.save(roots[Desktop], kBase).ok());
    if (sealed) {
        ASSERT_NO_FATAL_FAILURE(encryptOnDesktop());
    }
    ASSERT_TRUE(pair.sync());

    std::mt19937 random(sealed ? 20261209 : 20261204);
    std::array<int, kKinds> rounds{};
    int apart = 0, apartMerged = 0, clashing = 0, asked = 0, copies = 0;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const std::size_t which = random() % texts.size();
        const DiaryText &text = texts[which];
        const auto kind = Kind(random() % kKinds);
        const QStringList base = text.lines(roots[Desktop]);
        const Rounds saves = plan(kind, base.mid(1), random);
        QHash<const Save *, QString> typed;
        QSet<QString> typedNow;
        for (const QList<Save> &together : saves) {
            // Syncthing names a copy to the second: a second copy of one page within it would take the first's name.
            const qint64 second = QDateTime::currentSecsSinceEpoch();
            if (&together != &saves.front()) {
                ASSERT_TRUE(QTest::qWaitFor([second] { return QDateTime::currentSecsSinceEpoch() > second; }, 1500));
            }
            for (const Save &save : together) {
                typed[&save] = type(save, text);
                if (save.kind != Save::Remove)
                    typedNow << typed[&save];
            }
            ASSERT_FALSE(HasFailure());
            ASSERT_TRUE(pair.sync());
        }
        const auto expect = expected(base, saves, typed);
        const DataRoot &merging = roots[random() % 2];
        const int made = int(conflictCopies(merging.path()).size());
        // Now and then as the tool merges on the laptop, else as a sign-in does.
        if (round % 3 == 2 && &merging == &roots[Laptop]) {
            ASSERT_NO_FATAL_FAILURE(mergeWithTool(merging));
        } else {
            copylines::mergeAll(merging, conflictcopies::find(merging));
        }
        const bool merged = conflictcopies::find(merging).isEmpty();
        if (made > 0 && expect && !merged)
            std::cout << "round " << round << " (kind " << kind << ", " << made << " copies) asked about edits apart: "
                      << text.lines(merging).join(u'|').toStdString() << "\n";
        if (merged && made > 0) {
            const QStringList now = text.lines(merging);
            EXPECT_TRUE(expect) << "merged without a question: " << now.join(u'|').toStdString();
            EXPECT_EQ(QSet<QString>(now.begin(), now.end()), expect.value_or(QSet<QString>()));
        }
        for (const conflictcopies::Found &copy : conflictcopies::find(merging)) {
            const auto lines = copylines::of(merging, copy);
            const QString heading = copymerge::otherHeading(copy.name);
            ASSERT_TRUE(lines && copymerge::settle(merging, copy, *lines, copymerge::Keep::Both, heading).ok());
            ASSERT_TRUE(text.save(merging, tidied(text.lines(merging), heading)).ok());
        }
        ASSERT_TRUE(pair.sync());
        // The history is read only for a word not in the text: read every round, it makes the rounds quadratic.
        for (const DataRoot &root : roots) {
            EXPECT_EQ(std::pair(conflictCopies(root.path()), text.lines(root)), std::pair(QStringList(), text.lines(roots.front())));
            if (!(typedNow - text.words(root, false)).isEmpty()) {
                EXPECT_EQ(missing(typedNow, text.words(root, true)), "") << "every word typed is in the text or its history";
            }
        }
        ASSERT_FALSE(HasFailure());
        typedIn[which] += typedNow;

        ++rounds[kind];
        copies += made;
        apart += made > 0 && expect.has_value();
        apartMerged += made > 0 && expect.has_value() && merged;
        clashing += made > 0 && !expect;
        asked += made > 0 && !expect && !merged;
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (const DataRoot &root : roots)
            EXPECT_EQ(missing(typedIn[i] + wordsOf(kBase.join(u' ')), texts[i].words(root, true)), "");
    }
    if (sealed)
        expectAllSealed();
    std::cout << kRounds << (sealed ? " encrypted" : "") << " rounds in " << clock.elapsed() / 1000 << " s (one computer "
              << rounds[OneComputer] << ", apart " << rounds[Apart] << ", third save " << rounds[ThirdSave]
              << ", two or three copies " << rounds[TwoOrThreeCopies] << ", same paragraph " << rounds[SameParagraph]
              << ", whole text " << rounds[WholeText] << "); " << copies << " conflict copies; " << apartMerged << " of " << apart
              << " rounds of edits apart merged without a question; " << asked << " of " << clashing << " clashing rounds asked\n";
    RecordProperty("roundsApart", apart);
    RecordProperty("mergedWithoutAQuestion", apartMerged);
    EXPECT_EQ(asked, clashing);
    EXPECT_GE(apartMerged * 100, apart * 95);
}

INSTANTIATE_TEST_SUITE_P(SyncthingPair, RandomRounds, testing::Values(std::pair(300, false), std::pair(40, true)),
                         [](const auto &info) { return info.param.second ? "Encrypted" : "Plain"; });
