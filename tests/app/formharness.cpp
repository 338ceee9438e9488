#include "formharness.h"

#include <QLocale>

FormHarness::FormHarness()
{
    testApplication();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void FormHarness::withoutPassword()
{
    EXPECT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
    dialogs.answerMessage(Dialogs::Button::Ok);
}

AppServices FormHarness::services()
{
    const auto open = [this](const QUrl &url) {
        opened.append(url);
        return browserOpens;
    };
    return {.dialogs = &dialogs, .clock = &clock, .program = &program, .openUrl = open, .startDirectory = data.path(),
            .developmentFolder = developmentFolder, .developmentDataFolder = developmentDataFolder, .settingsFile = settingsFile, .spelling = spelling,
            .systemctl = systemctl};
}

void FormHarness::close()
{
    form.reset();
    session.reset();
}

void FormHarness::start(const AppServices &services)
{
    close();
    session = std::make_unique<DiarySession>(dialogs, clock);
    form = std::make_unique<Form1>(services, *session);
}

Form1 &FormHarness::startWithoutPassword()
{
    withoutPassword();
    start();
    return *form;
}

void FormTest::answer(std::initializer_list<Dialogs::Button> buttons)
{
    for (const Dialogs::Button button : buttons)
        harness.dialogs.answerMessage(button);
}

void FormTest::run(const char *command, std::initializer_list<Button> buttons)
{
    answer(buttons);
    run(command);
}

void FormTest::storePage(const char *day, const char *text) const
{
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate), diarytexts::page(text)));
}

QString FormTest::storedPage(const char *day) const
{
    RichTextEdit reader;
    reader.setTextRtf(pagestore::load(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)).value_or(QByteArray()));
    return reader.text();
}

void FormTest::selectOnPage(int from, int to) const
{
    QTextCursor cursor = page().textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    page().setTextCursor(cursor);
}

QStringList FormTest::search(const QString &term) const
{
    named<QLineEdit>(form(), "Text4")->setText(term);
    named<QPushButton>(form(), "Command4")->click();
    return itemTexts(*named<QListWidget>(form(), "List1"));
}

void typeAtEnd(RichTextEdit &editor, const QString &text)
{
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, text);
}

QStringList itemTexts(const QListWidget &list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.append(list.item(row)->text());
    return texts;
}
