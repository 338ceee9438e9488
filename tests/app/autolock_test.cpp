#include "formharness.h"
#include "cheapkdf.h"
#include "diarytexts.h"

#include "app/autolock.h"
#include "app/lockbox.h"
#include "app/progressbox.h"
#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "history/pagehistorywindow.h"
#include "vault/vault.h"

#include <QDialog>
#include <QDirIterator>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Button = Dialogs::Button;

const QString kPassword = QStringLiteral("correct horse");
const QString kToday = QStringLiteral("2026-12-04");

void tryPassword(Form1 &form, const QString &password)
{
    form.lockBox()->Text1->setText(password);
    form.lockBox()->Command1->click();
}

// An encrypted diary holding today's page, signed into, with an idle clock the test moves.
class AutoLockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        useCheapKeyDerivation();
        ASSERT_TRUE(pagestore::save(harness.data.root(), kToday, diarytexts::page("Today we went skating")));
        SecretBytes master = keyslot::newMasterKey();
        const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
        ASSERT_TRUE(slot);
        const Vault vault(std::move(master), *slot);
        ASSERT_TRUE(conversion::encrypt(harness.data.root(), vault, keyslot::format(*slot)));
        harness.dialogs.answerInput(kPassword);
        harness.start();
        ASSERT_TRUE(form().startedUp());
        ASSERT_NE(form().autoLock(), nullptr);
        form().autoLock()->setClock([this] { return now; });
        form().show();
    }

    Form1 &form() const { return *harness.form; }
    bool locked() { return form().session().isLocked(); }
    bool pageReadable() { return pagestore::load(form().session().dataRoot(), kToday).has_value(); }
    void tryPassword(const QString &password) { ::tryPassword(form(), password); }
    // Every file below the data folder with its bytes, so any write shows.
    QMap<QString, QByteArray> everyFile() const
    {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(harness.data.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString path = it.next();
            files.insert(path, harness.data.readFile(QDir(harness.data.path()).relativeFilePath(path)));
        }
        return files;
    }

    FormHarness harness;
    std::chrono::milliseconds now{1000h};
};

} // namespace

TEST_F(AutoLockTest, FiveMinutesWithoutInputLockAndInputStartsTheWaitAgain)
{
    AutoLock &autoLock = *form().autoLock();
    EXPECT_EQ(autoLock.idleDelay(), 5min);
    EXPECT_TRUE(form().m24->isVisible()) << "signed in on an encrypted diary";
    now += 4min + 59s;
    autoLock.checkIdle();
    EXPECT_FALSE(locked());

    QTest::keyClick(form().rtxt2, Qt::Key_A);
    now += 4min + 59s;
    autoLock.checkIdle();
    EXPECT_FALSE(locked()) << "a key press starts the five minutes again";
    // Two places: a move to where the pointer already is never arrives.
    QTest::mouseMove(form().rtxt2, QPoint(20, 20));
    QTest::mouseMove(form().rtxt2, QPoint(30, 30));
    now += 4min + 59s;
    autoLock.checkIdle();
    EXPECT_FALSE(locked()) << "so does the mouse";

    // The program's own events are no user's input.
    QKeyEvent synthetic(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(form().rtxt2, &synthetic);
    now += 1s;
    autoLock.checkIdle();
    EXPECT_TRUE(locked());
    EXPECT_FALSE(pageReadable());
}

TEST_F(AutoLockTest, TheScreenLockAndTheMachinesSleepLockAtOnce)
{
    form().autoLock()->screenSaverActiveChanged(false);
    EXPECT_FALSE(locked());
    form().autoLock()->screenSaverActiveChanged(true);
    EXPECT_TRUE(locked());
    tryPassword(kPassword);
    ASSERT_FALSE(locked());

    form().autoLock()->prepareForSleep(false);
    EXPECT_FALSE(locked()) << "waking up is no reason to lock";
    form().autoLock()->prepareForSleep(true);
    EXPECT_TRUE(locked());
}

TEST_F(AutoLockTest, LockedEveryWindowIsHiddenUntilThePasswordBringsThemBackWithTheTyping)
{
    form().rtxt2->moveCursor(QTextCursor::End);
    QTest::keyClicks(form().rtxt2, QStringLiteral(" and fell"));
    form().m21->trigger();
    auto *history = form().findChild<PageHistoryWindow *>();
    ASSERT_NE(history, nullptr);
    ASSERT_TRUE(history->isVisible());
    ASSERT_TRUE(pageReadable());

    form().autoLock()->screenSaverActiveChanged(true);
    ASSERT_TRUE(locked());
    EXPECT_FALSE(pageReadable()) << "the key is wiped";
    EXPECT_FALSE(harness.data.everyName(QStringLiteral(".drafts")).isEmpty()) << "the typing was drafted before the key went";
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(form().rtxt2->isVisible());
    EXPECT_FALSE(history->isVisible());
    LockBox *box = form().lockBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->isModal());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Quillnest is locked"));
    EXPECT_EQ(box->Label1->text(), QStringLiteral("Enter the Password"));
    EXPECT_EQ(box->Text1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(box->Command1->text(), QStringLiteral("Unlock"));
    EXPECT_FALSE(box->wrongPassword->isVisible());
    // A compact box, the field beside its label.
    EXPECT_LT(box->width(), box->screen()->availableGeometry().width() / 2);
    EXPECT_LT(box->height(), box->width() / 2);
    EXPECT_GT(box->Text1->x(), box->Label1->geometry().right());
    EXPECT_LE(std::abs(box->Text1->geometry().center().y() - box->Label1->geometry().center().y()), 2);
    const auto shapes = [box] {
        QList<QRect> shapes{box->geometry()};
        for (const QWidget *control : box->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            shapes.append(control->geometry());
        return shapes;
    };
    const QList<QRect> before = shapes();

    tryPassword(QStringLiteral("wrong horse"));
    EXPECT_EQ(shapes(), before) << "nothing moves for the complaint";
    EXPECT_TRUE(locked());
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->wrongPassword->isVisible());
    EXPECT_EQ(box->wrongPassword->text(), QStringLiteral("Wrong password. Try again."));
    EXPECT_TRUE(box->Text1->text().isEmpty());
    EXPECT_FALSE(form().isVisible());
    EXPECT_FALSE(harness.program.ended());

    tryPassword(QStringLiteral("still wrong"));
    tryPassword(kPassword);
    EXPECT_FALSE(locked());
    EXPECT_FALSE(box->isVisible());
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(history->isVisible());
    EXPECT_EQ(form().rtxt2->text(), QStringLiteral("Today we went skating and fell"));
    EXPECT_EQ(form().session().filechanged(), 1) << "the typing is still unsaved";
    EXPECT_TRUE(pageReadable());
    EXPECT_EQ(harness.dialogs.shown().size(), 1) << "the sign-in alone asked anything";

    // Locked again, the box is fresh.
    form().autoLock()->prepareForSleep(true);
    EXPECT_FALSE(box->wrongPassword->isVisible());
}

TEST_F(AutoLockTest, ClosingWhileLockedEndsWithoutAQuestionOrAWrite)
{
    QTest::keyClicks(form().rtxt2, QStringLiteral("unsaved"));
    form().autoLock()->screenSaverActiveChanged(true);
    ASSERT_TRUE(locked());
    const auto before = everyFile();
    const auto asked = harness.dialogs.shown().size();

    form().lockBox()->close();
    EXPECT_EQ(harness.program.endCount(), 1);
    // As the desktop's log-out would: the hidden main window is closed too.
    form().close();
    EXPECT_EQ(harness.program.endCount(), 2);
    EXPECT_EQ(harness.dialogs.shown().size(), asked) << "no save question";
    EXPECT_EQ(everyFile(), before);
}

// Hidden, a question in its own event loop would end as if refused: it waits under the box instead.
TEST_F(AutoLockTest, AQuestionBeingAskedOutlivesTheLock)
{
    QDialog question(&form());
    bool coveredWhileAsked = false;
    QTimer::singleShot(0, &question, [&] {
        form().autoLock()->screenSaverActiveChanged(true);
        coveredWhileAsked = locked() && question.isVisible() && !form().isVisible() && form().lockBox()->isVisible();
        tryPassword(kPassword);
        question.accept();
    });
    EXPECT_EQ(question.exec(), QDialog::Accepted);
    EXPECT_TRUE(coveredWhileAsked);
    EXPECT_TRUE(form().isVisible());
}

// Changing the password reseals every file: past a few hundred of them the
// window shows how far it got, with no Cancel to stop it half way, a lock
// meanwhile does not wipe the key it reads with, and the window goes on
// sealing with the new key.
TEST_F(AutoLockTest, ChangePasswordShowsItsProgressOutlastsALockAndTheWindowSealsUnderTheNewKey)
{
    const Vault &vault = *form().session().dataRoot().vault();
    for (int day = 1; day <= ProgressBox::kShownAbove; ++day) {
        const QString name = QStringLiteral("pages/%1.dat").arg(daykeys::dayKey(QDate(2020, 1, 1).addDays(day)));
        harness.data.writeFile(name, vault.seal(diarytexts::page("Another day"), name).value());
    }
    const QString newPassword = QStringLiteral("battery staple");
    harness.dialogs.answerInput(kPassword);
    harness.dialogs.answerInput(newPassword);
    harness.dialogs.answerInput(newPassword);
    harness.dialogs.answerMessage(Button::Ok);
    bool shown = false;
    bool cancelShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (const auto *box = form().findChild<QProgressDialog *>(); box && !shown) {
            shown = true;
            cancelShown = box->findChild<QPushButton *>() != nullptr;
            form().autoLock()->screenSaverActiveChanged(true);
        }
    });
    watch.start(0);
    form().m18->trigger();
    ASSERT_TRUE(shown) << "the box of a long conversion";
    EXPECT_FALSE(cancelShown);
    EXPECT_EQ(harness.dialogs.shown().last().title, QStringLiteral("Password Saved"));
    EXPECT_FALSE(locked());

    QTest::keyClicks(form().rtxt2, QStringLiteral("Zermatt "));
    form().session().flushDrafts();
    const auto slot = keyslot::parse(harness.data.readFile(QStringLiteral("pw.dat")).split('\r').first());
    ASSERT_TRUE(slot);
    auto key = keyslot::unwrap(*slot, keyslot::passwordBytes(newPassword));
    ASSERT_TRUE(key);
    const Vault renewed(std::move(*key), *slot);
    EXPECT_TRUE(renewed.open(harness.data.readFile(QStringLiteral(".drafts/page@2026-12-04.dat")), QStringLiteral("pages/2026-12-04.dat")));
}

// A plain diary has no lock, until it is encrypted; decrypted, it has none again.
TEST(AutoLockPlainTest, APlainDiaryNeverLocks)
{
    useCheapKeyDerivation();
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    form.show();
    EXPECT_EQ(form.autoLock(), nullptr);
    form.session().lockDiary();
    EXPECT_FALSE(form.session().isLocked());
    EXPECT_EQ(form.lockBox(), nullptr);
    EXPECT_TRUE(form.isVisible());

    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerInput(kPassword);
    harness.dialogs.answerInput(kPassword);
    harness.dialogs.answerMessage(Button::Ok);
    EXPECT_TRUE(form.m23->isVisible());
    EXPECT_FALSE(form.m24->isVisible());
    form.m23->trigger();
    ASSERT_TRUE(form.session().isEncrypted());
    ASSERT_NE(form.autoLock(), nullptr);
    EXPECT_FALSE(form.m23->isVisible()) << "an encrypted diary offers Decrypt Diary... instead";
    EXPECT_TRUE(form.m24->isVisible());
    std::chrono::milliseconds now{0};
    form.autoLock()->setClock([&now] { return now; });
    now += 5min;
    form.autoLock()->checkIdle();
    EXPECT_TRUE(form.session().isLocked());
    EXPECT_FALSE(form.isVisible());
    tryPassword(form, kPassword);
    ASSERT_FALSE(form.session().isLocked());

    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerInput(kPassword);
    harness.dialogs.answerMessage(Button::Ok);
    form.m24->trigger();
    ASSERT_FALSE(form.session().isEncrypted());
    EXPECT_TRUE(form.m23->isVisible());
    EXPECT_EQ(form.autoLock(), nullptr);
    EXPECT_TRUE(form.isVisible());
}
