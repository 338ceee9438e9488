#include "formharness.h"
#include "cheapkdf.h"

#include "app/autolock.h"
#include "app/lockbox.h"
#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/scramble.h"
#include "session/vaultcontrols.h"
#include "vault/vault.h"
#include "vault/wipe.h"

#include <QClipboard>
#include <QMimeData>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QTimer>

#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

const QString kPassword = QStringLiteral("correct horse");
const QDate kToday(2026, 12, 4);

// The marker's letters are made here, never written out, so the test's own
// memory holds no copy of it: only what the program kept can be found.
constexpr int kMarkerLength = 16;

QChar markerLetter(int i)
{
    return QChar(char16_t(u'a' + (i * 7 + 5) % 26));
}

void typeMarker(QWidget &editor)
{
    QString marker;
    for (int i = 0; i < kMarkerLength; ++i)
        marker += markerLetter(i);
    QTest::keyClicks(&editor, marker);
    wipe(marker);
}

bool holds(const unsigned char *bytes, std::size_t size, const std::vector<unsigned char> &inverted)
{
    const auto same = [](unsigned char got, unsigned char want) { return want == (~got & 0xFF); };
    return std::search(bytes, bytes + size, inverted.begin(), inverted.end(), same) != bytes + size;
}

#ifdef __SANITIZE_ADDRESS__
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// Every writable mapping of this process read through /proc/self/mem, for the
// marker in one byte a letter (RTF, UTF-8) or in UTF-16 (QString). The
// patterns are kept inverted, so the search never finds itself.
bool memoryHoldsMarker()
{
    std::vector<std::vector<unsigned char>> patterns(3);
    for (int i = 0; i < kMarkerLength; ++i) {
        const auto inverted = static_cast<unsigned char>(~markerLetter(i).unicode() & 0xFF);
        patterns[0].push_back(inverted);
        patterns[1].insert(patterns[1].end(), {inverted, 0xFF});
        patterns[2].push_back(static_cast<unsigned char>(~(markerLetter(i).unicode() + kScrambleOffset) & 0xFF));
    }
    // A process that is not dumpable cannot open its own mem file unless it is root.
    const int dumpable = prctl(PR_GET_DUMPABLE);
    prctl(PR_SET_DUMPABLE, 1);
    QFile maps(QStringLiteral("/proc/self/maps"));
    EXPECT_TRUE(maps.open(QIODevice::ReadOnly));
    const int mem = ::open("/proc/self/mem", O_RDONLY | O_CLOEXEC);
    EXPECT_GE(mem, 0);
    std::vector<unsigned char> chunk(std::size_t(1) << 20);
    // Chunks overlap by a marker, so none is missed at their seams.
    const std::size_t step = chunk.size() - 2 * kMarkerLength;
    bool found = false;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        unsigned long long start = 0, end = 0;
        char access[5] = {};
        if (std::sscanf(line.constData(), "%llx-%llx %4s", &start, &end, access) != 3 || std::strncmp(access, "rw", 2) != 0)
            continue;
        for (unsigned long long at = start; at < end && !found; at += step) {
            const ssize_t got = ::pread(mem, chunk.data(), std::min<unsigned long long>(chunk.size(), end - at), off_t(at));
            found = got > 0 && std::ranges::any_of(patterns, [&](const auto &pattern) { return holds(chunk.data(), std::size_t(got), pattern); });
        }
    }
    std::fill(chunk.begin(), chunk.end(), 0);
    ::close(mem);
    prctl(PR_SET_DUMPABLE, dumpable);
    return found;
}

// Types the password into the lock box and clicks Unlock.
void tryPassword(Form1 &form, const QString &password)
{
    form.lockBox()->Text1->setText(password);
    form.lockBox()->Command1->click();
}

// An encrypted diary holding today's page, signed into, with an idle clock the test moves.
class AutoLockTest : public FormTest
{
protected:
    void SetUp() override
    {
        useCheapKeyDerivation();
        ASSERT_TRUE(pagestore::save(harness.data.root(), kToday, diarytexts::page("Today we went skating")));
        SecretBytes master = keyslot::newMasterKey();
        const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
        ASSERT_TRUE(slot);
        ASSERT_TRUE(conversion::encrypt(harness.data.root(), Vault(std::move(master), *slot), keyslot::format(*slot)));
        harness.dialogs.answerInput(kPassword);
        // Dumpable again, as a process is before it knows of an encrypted diary.
        prctl(PR_SET_DUMPABLE, 1);
        harness.settingsFile = config.filePath(QStringLiteral("quillnest.conf"));
        harness.start();
        ASSERT_TRUE(form().startedUp() && form().autoLock());
        form().autoLock()->setClock([this] { return now; });
        form().show();
    }

    bool locked() { return form().session().vault().isLocked(); }
    void idleFor(std::chrono::milliseconds idle)
    {
        now += idle;
        form().autoLock()->checkIdle();
    }

    QTemporaryDir config;
    std::chrono::milliseconds now{1000h};
};

} // namespace

// Input, not the program's own events, puts the idle lock off; the screen lock
// and the machine's sleep lock at once, and a question being asked waits under the box.
TEST_F(AutoLockTest, IdleScreenAndSleepLockTheWindowAQuestionOutlivesTheLockNoCoreFileIsWrittenTheIdleDelayIsTheUsersChoiceAndAPasswordChangeOutlastsALock)
{
    EXPECT_EQ(form().autoLock()->idleDelay(), 5min);
    idleFor(4min + 59s);
    QTest::keyClick(&page(), Qt::Key_A);
    idleFor(4min + 59s);
    // Two places: a move to where the pointer already is never arrives.
    QTest::mouseMove(&page(), QPoint(20, 20));
    QTest::mouseMove(&page(), QPoint(30, 30));
    idleFor(4min + 59s);
    EXPECT_FALSE(locked());
    QKeyEvent synthetic(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(&page(), &synthetic);
    idleFor(1s);
    EXPECT_TRUE(locked());
    tryPassword(form(), kPassword);

    form().autoLock()->screenSaverActiveChanged(false);
    form().autoLock()->prepareForSleep(false);
    EXPECT_FALSE(locked()) << "a screen unlocked or a wake is no reason to lock";
    form().autoLock()->screenSaverActiveChanged(true);
    EXPECT_TRUE(locked());
    tryPassword(form(), kPassword);
    form().autoLock()->prepareForSleep(true);
    EXPECT_TRUE(locked());
    tryPassword(form(), kPassword);

    // Hidden, a question in its own event loop would end as if refused: it waits under the box instead.
    QDialog question(&form());
    bool coveredWhileAsked = false;
    QTimer::singleShot(0, &question, [&] {
        form().autoLock()->screenSaverActiveChanged(true);
        coveredWhileAsked = locked() && question.isVisible() && !form().isVisible() && form().lockBox()->isVisible();
        tryPassword(form(), kPassword);
        question.accept();
    });
    EXPECT_EQ((std::tuple{question.exec(), coveredWhileAsked, form().isVisible()}), std::tuple(int(QDialog::Accepted), true, true));

    rlimit core{};
    ASSERT_EQ(getrlimit(RLIMIT_CORE, &core), 0);
    EXPECT_EQ(std::tuple(core.rlim_cur, core.rlim_max, prctl(PR_GET_DUMPABLE)), std::tuple(rlim_t(0), rlim_t(0), 0));
    // A delay chosen, the time left idle, and whether that locks.
    const std::tuple<const char *, std::chrono::milliseconds, bool> rows[] = {{"lockAfter1", 1min, true},  {"lockAfter15", 14min, false},
                                                                             {"lockAfter15", 1min, true}, {"lockAfter60", 1h, true},
                                                                             {"lockAfter0", 1000h, false}, {"lockAfter5", 5min, true}};
    for (const auto &[name, idle, locks] : rows) {
        QAction &choice = *named<QAction>(*named<QMenu>(form(), "m28"), name);
        choice.trigger();
        idleFor(idle);
        EXPECT_EQ(std::pair(choice.isChecked(), locked()), std::pair(true, locks)) << name;
        tryPassword(form(), kPassword);
    }
    EXPECT_EQ(QSettings(harness.settingsFile, QSettings::IniFormat).value(QStringLiteral("lock/idleMinutes")).toInt(), 5);
    QSettings(harness.settingsFile, QSettings::IniFormat).setValue(QStringLiteral("lock/idleMinutes"), 15);
    FormHarness next;
    next.settingsFile = harness.settingsFile;
    next.startWithoutPassword();
    EXPECT_TRUE(named<QMenu>(*next.form, "m28")->findChild<QAction *>(QStringLiteral("lockAfter15"))->isChecked()) << "kept for the next start";

    // Changing the password reseals every file: past a few hundred of them the
    // window shows how far it got, with no Cancel to stop it half way, a lock
    // meanwhile does not wipe the key it reads with, and the window's lock then
    // opens to the new password alone (what is sealed with it is the session's test).
    const Vault &vault = *form().session().dataRoot().vault();
    for (int day = 1; day <= ProgressBox::kShownAbove; ++day) {
        const QString name = QStringLiteral("pages/%1.dat").arg(daykeys::dayKey(QDate(2020, 1, 1).addDays(day)));
        harness.data.writeFile(name, vault.seal(diarytexts::page("Another day"), name).value());
    }
    const QString newPassword = QStringLiteral("battery staple");
    for (const QString &typed : {kPassword, newPassword, newPassword})
        harness.dialogs.answerInput(typed);
    // Whether the box of the long conversion, once shown, had a Cancel.
    std::optional<bool> cancelShown;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (const auto *box = form().findChild<QProgressDialog *>(); box && !cancelShown) {
            cancelShown = box->findChild<QPushButton *>() != nullptr;
            form().autoLock()->screenSaverActiveChanged(true);
        }
    });
    watch.start(0);
    run("m18", {Button::Ok});
    EXPECT_EQ(std::tuple(cancelShown, harness.dialogs.shown().last(), locked()),
              std::tuple(std::optional(false), ScriptedDialogs::shownBox(messages::passwordSaved()), false));

    run("m27");
    tryPassword(form(), kPassword);
    EXPECT_TRUE(locked());
    tryPassword(form(), newPassword);
    EXPECT_FALSE(locked());
}


TEST_F(AutoLockTest, CtrlLDropsEveryCopyOfTheWordsAndThePasswordBringsThemBackWhereTheyWere)
{
    // The marker is a short paragraph of its own, so the copies the editors, the spelling and the drafts make of
    // it are small blocks, which glibc keeps per thread without filling them; the page is long enough to scroll.
    page().moveCursor(QTextCursor::End);
    page().insertPlainText(QStringLiteral(" a long day on the ice and a longer night by the fire").repeated(80) + u'\n');
    typeMarker(page());
    typeMarker(note());
    note().selectAll();
    note().copy();
    run("m17");
    auto *print = form().findChild<Frmprint *>();
    ASSERT_NE(print, nullptr);
    selectOnPage(40, 60);
    page().verticalScrollBar()->setValue(page().verticalScrollBar()->maximum() / 2);
    // Where the caret, the selection and the scrolling are, the texts, and whether each is changed.
    const auto state = [&] {
        return std::tuple(page().place().anchor, page().place().position, page().place().vertical, note().place().position, qHash(page().toPlainText()),
                          qHash(note().toPlainText()), qHash(print->rtxt->toPlainText()), form().session().book().filechanged(), print->printchanged);
    };
    const auto before = state();
    ASSERT_EQ(std::tuple(std::get<2>(before) > 0, std::get<7>(before), std::get<8>(before)), std::tuple(true, 1, 0))
        << "scrolled away from the caret, the page typed into, its print copy not";
    // AddressSanitizer's shadow is terabytes of mappings, and its quarantine keeps freed blocks as they were.
    ASSERT_TRUE(kAddressSanitizer || memoryHoldsMarker()) << "the search finds the words of an open diary";

    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    QTest::keyClick(&page(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(locked());
    for (const QTextDocument *document : {page().document(), note().document(), print->rtxt->document()})
        EXPECT_EQ(std::pair(document->isEmpty(), document->isUndoAvailable()), std::pair(true, false));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(!kAddressSanitizer && memoryHoldsMarker()) << "locked, no copy of the words is left in memory";
    const QMimeData *copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_TRUE(!copied || !copied->hasText()) << "what was copied from the note went with it";

    tryPassword(form(), kPassword);
    ASSERT_FALSE(locked());
    EXPECT_EQ(state(), before);
    form().session().drafts().flush();
    for (const QString &name : harness.data.everyName(TestDataRoot::drafts()))
        EXPECT_FALSE(name.startsWith(QStringLiteral("print@"))) << "the copy's draft was written for the lock alone";
}

// The page history drops its versions for the lock too, and shows the chosen one again.
TEST_F(AutoLockTest, LockedEveryWindowIsHiddenUntilThePasswordBringsThemBackWithTheTypingAndTheChosenVersion)
{
    for (const char *text : {"Today we went sledging", "Today we went home"})
        ASSERT_TRUE(pagestore::save(form().session().dataRoot(), kToday, diarytexts::page(text)));
    typeAtEnd(page(), QStringLiteral(" and fell"));
    const QString versions = history::versionFolder(form().session().dataRoot(), form().session().dataRoot().pagePath(daykeys::dayKey(kToday)));
    harness.data.writeFile(QDir(harness.data.path()).relativeFilePath(versions) + QStringLiteral("/2026-12-04@20261101-000000-000.dat"), "not sealed");
    run("m21");
    auto *history = form().findChild<PageHistoryWindow *>();
    ASSERT_NE(history, nullptr);
    ASSERT_EQ(history->List1->count(), 3);
    EXPECT_TRUE(history->List1->item(2)->text().endsWith(history::kDoesNotOpen)) << "a damaged version is marked";
    history->List1->setCurrentRow(1);
    ASSERT_EQ(history->rtxt->text(), QStringLiteral("Today we went skating"));
    run("m27");
    ASSERT_TRUE(locked());
    EXPECT_FALSE(harness.data.everyName(TestDataRoot::drafts()).isEmpty()) << "the typing was drafted before the key went";
    LockBox *box = form().lockBox();
    ASSERT_NE(box, nullptr);
    // What shows, the history's versions and chosen one, the complaint and the field.
    const auto state = [&] {
        return std::tuple(locked(), box->isVisible(), form().isVisible(), history->isVisible(), history->List1->count(), history->List1->currentRow(),
                          history->rtxt->text(), box->wrongPassword->isVisible(), box->Text1->text(), page().text());
    };
    EXPECT_EQ(state(), std::tuple(true, true, false, false, 0, -1, QString(), false, QString(), QString()));
    EXPECT_EQ((QStringList{box->windowTitle(), box->Label1->text(), box->Command1->text()}),
              (QStringList{"Quillnest is locked", "Enter the Password", "Unlock"}));
    // A compact box, the field beside its label.
    EXPECT_TRUE(box->isModal() && box->Text1->echoMode() == QLineEdit::Password && box->width() < box->screen()->availableGeometry().width() / 2
                && box->height() < box->width() / 2 && box->Text1->x() > box->Label1->geometry().right()
                && std::abs(box->Text1->geometry().center().y() - box->Label1->geometry().center().y()) <= 2)
        << box->width() << "x" << box->height();
    const auto shapes = [box] {
        QList<QRect> shapes{box->geometry()};
        std::ranges::transform(box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly), std::back_inserter(shapes), &QWidget::geometry);
        return shapes;
    };
    const QList<QRect> before = shapes();

    tryPassword(form(), QStringLiteral("wrong horse"));
    EXPECT_EQ(shapes(), before) << "nothing moves for the complaint";
    EXPECT_EQ(std::pair(state(), box->wrongPassword->text()),
              std::pair(std::tuple(true, true, false, false, 0, -1, QString(), true, QString(), QString()), QStringLiteral("Wrong password. Try again.")));

    tryPassword(form(), kPassword);
    EXPECT_EQ(state(), std::tuple(false, false, true, true, 3, 1, QStringLiteral("Today we went skating"), false, QString(),
                                  QStringLiteral("Today we went skating and fell")));
    EXPECT_EQ(form().session().book().filechanged(), 1) << "the typing is still unsaved";
    form().autoLock()->prepareForSleep(true);
    EXPECT_FALSE(box->wrongPassword->isVisible()) << "locked again, the box is fresh";

    // Closed while locked, by the box or by a log-out closing the hidden window: no question, no write.
    auto files = filesUnder(harness.data.path());
    std::erase_if(files, [](const auto &file) { return file.first.startsWith(u".quillnest/open/"); });
    box->close();
    EXPECT_EQ(harness.program.endCount(), 1);
    form().close();
    // Ended twice, the sign-in alone asked anything, and every file is as it was but the one telling other computers the diary is open here.
    EXPECT_EQ(std::tuple(harness.program.endCount(), harness.dialogs.shown().size(), filesUnder(harness.data.path())), std::tuple(2, 1, files));
}


// A plain diary has no lock until it is encrypted, and none again decrypted. A weak or mistyped new password is
// asked again, not refused for good; the lock box then offers no title-bar button that would quit with the typing
// left unsaved.
using AutoLockPlainTest = FormTest;

TEST_F(AutoLockPlainTest, APlainDiaryNeverLocksEncryptingAsksAgainAfterABadPasswordAndTheLockBoxHasNoTitleBarButtons)
{
    useCheapKeyDerivation();
    harness.withoutPassword();
    prctl(PR_SET_DUMPABLE, 1);
    harness.start();
    const auto action = [this](const char *name) { return named<QAction>(form(), name); };
    // Whether the window has a lock, Lock Diary and its delays, Encrypt Diary... and Decrypt Diary...
    const auto offers = [&] {
        return std::tuple(form().autoLock() != nullptr, action("m27")->isEnabled(), named<QMenu>(form(), "m28")->isEnabled(), action("m23")->isVisible(),
                          action("m24")->isVisible());
    };
    const auto plain = std::tuple(false, false, false, true, false);
    EXPECT_EQ(std::pair(prctl(PR_GET_DUMPABLE), offers()), std::pair(1, plain)) << "a plain diary leaves the process as it was";
    run("m27");
    EXPECT_EQ(form().lockBox(), nullptr);
    answer({Button::Yes});
    for (const char *typed : {"seven77", "", "correct horse", "correct hors", "", "correct horse", "correct horse", ""}) {
        if (*typed)
            harness.dialogs.answerInput(QString::fromLatin1(typed));
        else
            answer({Button::Ok});
    }
    run("m23");
    const QString first = QStringLiteral("Enter the new password (at least 8 characters).");
    const QString again = QStringLiteral("Enter the new password again.");
    EXPECT_EQ(lastTexts(9), (QStringList{messages::encryptDiary().text, first, QStringLiteral("The password must have at least 8 characters. Please enter another password."),
                                         first, again, QStringLiteral("The two passwords are not the same. Please enter the new password again."),
                                         first, again, messages::diaryEncrypted().text}));
    EXPECT_EQ(offers(), std::tuple(true, true, true, false, true));
    run("m27");
    const Qt::WindowFlags buttons = Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint;
    ASSERT_NE(form().lockBox(), nullptr);
    LockBox &box = *form().lockBox();
    EXPECT_EQ(std::pair(box.windowFlags() & buttons, form().session().vault().isLocked()), std::pair(Qt::WindowFlags(), true));
    tryPassword(form(), kPassword);
    answer({Button::Yes});
    harness.dialogs.answerInput(kPassword);
    run("m24", {Button::Ok});
    ASSERT_FALSE(form().session().vault().isEncrypted());
    EXPECT_EQ(offers(), plain);
}
