#include "formharness.h"

#include "app/helpcommands.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

namespace {

class ToolbarTest : public FormTest
{
protected:
    // Today, 4 December, has no page; the first has a formatted one.
    void SetUp() override
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 1),
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs48\\b We went skating\\par}"));
        harness.startWithoutPassword();
    }
    QToolBar &toolbar() const { return *named<QToolBar>(form(), "Toolbar1"); }
    QComboBox &list(const char *name) const { return *named<QComboBox>(form(), name); }
    QToolButton &key(const char *name) { return *toolbar().findChild<QToolButton *>(QString::fromLatin1(name)); }
    std::tuple<bool, bool, bool> styles() { return {key("Bold").isChecked(), key("Italic").isChecked(), key("Underline").isChecked()}; }
    void choose(int day) { FormTest::choose(QDate(2026, 12, day)); }
    QByteArray stored(int day) const { return pagestore::load(harness.data.root(), QDate(2026, 12, day)).value_or(QByteArray()); }
};

} // namespace

// A shortcut given twice would act on only one of its commands; a button
// without its menu's action would do something the menu does not.
TEST_F(ToolbarTest, EveryKeyAndButtonReachesOneCommandCentringTwiceStaysCentredAndTheSizeFieldCountsOnEnter)
{
    // The menus' keys act in the whole window; the formatting keys only in the page.
    QStringList shortcuts;
    for (const QAction *action : form().findChildren<QAction *>())
        if (!action->shortcut().isEmpty())
            shortcuts.append(action->shortcut().toString() + (action->shortcutContext() == Qt::WindowShortcut ? "" : " in page"));
    EXPECT_EQ(shortcuts, (QStringList{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+F", "Ctrl+A", "Ctrl+P", "Del", "Ctrl+L", "Ctrl+G", "F1", "F3",
                                      "Shift+F3", "Ctrl+B in page", "Ctrl+I in page", "Ctrl+U in page"}));
    for (QAction *action : toolbar().actions()) {
        const QWidget *button = toolbar().widgetForAction(action);
        if (action->isSeparator() || !button->inherits("QToolButton"))
            continue;
        EXPECT_EQ(std::tuple(action->icon().isNull(), button->accessibleName(), action->toolTip(), toolbar().actions().count(action)),
                  std::tuple(false, button->objectName(), button->objectName(), 1));
    }
    for (const char *shared : {"m15", "m2", "m5", "m16", "m17", "m4", "m14"})
        EXPECT_TRUE(toolbar().actions().contains(named<QAction>(form(), shared))) << shared;
    EXPECT_FALSE(toolbar().actions().contains(named<QAction>(form(), "m3"))) << "the toolbar's Open does not ask to save";

    // Unlike File > Open File, the toolbar's Open asks nothing: the question comes when a page opens. Help in a
    // folder without its help page shows the program's own, centred across the window (the test screen is too low
    // to centre it up and down as well), its picture no wider than the text.
    form().show();
    QTest::keyClicks(&page(), QStringLiteral("x"));
    key("Open").click();
    key("Help").click();
    QCoreApplication::processEvents();
    auto *help = form().findChild<QTextBrowser *>();
    QTextImageFormat picture;
    for (QTextBlock block = help->document()->begin(); block.isValid() && picture.name().isEmpty(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                picture = it.fragment().charFormat().toImageFormat();
    const int offset = help->frameGeometry().center().x() - form().frameGeometry().center().x();
    EXPECT_EQ(std::tuple(named<QGroupBox>(form(), "Frame3")->isVisibleTo(&form()), harness.dialogs.shown().size(), form().findChildren<QTextBrowser *>().size(),
                         harness.opened, help->windowTitle(), std::abs(offset) <= 2, help->horizontalScrollBar()->maximum(), picture.width() < 840,
                         qRound(picture.width() * 572 / 840) == qRound(picture.height())),
              std::tuple(true, 1, 1, QList<QUrl>(), QStringLiteral("Quillnest help"), true, 0, true, true));

    // The folder's own page shows in the browser, or without one in the program's window, pictures and all, a window
    // however often asked; only a web page nothing opens is reported.
    delete help;
    QImage(8, 8, QImage::Format_RGB32).save(harness.data.path() + QStringLiteral("/shot.png"));
    harness.data.writeFile(QStringLiteral("help.htm"), "<html><head><title>Quillnest Help</title></head>"
                                                       "<body><p>Pick a day.</p><img src=\"shot.png\"></body></html>");
    harness.browserOpens = false;
    run("m14");
    run("m14");
    ASSERT_EQ(form().findChildren<QTextBrowser *>().size(), 1);
    const QTextBrowser &window = *form().findChild<QTextBrowser *>();
    EXPECT_EQ(std::tuple(window.isWindow(), window.isVisible(), window.windowTitle(), window.toPlainText().contains(QStringLiteral("Pick a day.")),
                         window.document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("shot.png"))).isNull()),
              std::tuple(true, true, QStringLiteral("Quillnest Help"), true, false));
    harness.browserOpens = true;
    run("m14");
    run("m13");
    const QUrl folderPage = QUrl::fromLocalFile(harness.data.root().helpFile());
    EXPECT_EQ(harness.opened, (QList<QUrl>{folderPage, folderPage, folderPage, helpcommands::homePage()}));
    harness.browserOpens = false;
    run("m13", {Button::Ok});
    EXPECT_EQ(harness.dialogs.shown().mid(1), QList{ScriptedDialogs::shownBox(messages::webPageUnopened(helpcommands::homePage().toString()))});

    // What the lists choose is stored, as the next test shows; here centring twice
    // stays centred, and the size field counts a size on Enter, if it is one.
    page().setPlainText(QStringLiteral("one two three"));
    page().selectAll();
    key("Align Center").click();
    key("Align Center").click();
    EXPECT_EQ(page().selAlignment(), Qt::AlignHCenter);
    QLineEdit &field = *list("cmbFontSize").lineEdit();
    field.setText(QStringLiteral("12"));
    EXPECT_EQ(page().selFontSize(), 10) << "typing alone selects nothing";
    const std::pair<const char *, qreal> typed[]{{"11", 11}, {"0", 11}, {"1639", 11}, {"big", 11}, {"", 11},
                                                 {"1638", 1638}, {"1", 1}, {"10.3", 10.5}, {"72", 72}};
    for (const auto &[text, size] : typed) {
        field.selectAll();
        QTest::keyClicks(&field, QString::fromLatin1(text));
        QTest::keyClick(&field, Qt::Key_Return);
        EXPECT_EQ(std::pair(page().selFontSize(), list("cmbFontSize").currentText()), std::pair(size, QString::number(size))) << text;
    }
}


// Formatting done with the mouse alone is a change the page offers to save.
TEST_F(ToolbarTest, FormattingAPageAsksToSaveIt)
{
    const QString family = list("cmbFontName").itemText(list("cmbFontName").count() - 1);
    // The colour asked for by the first row.
    harness.dialogs.answerColor(QColor(Qt::red));
    const std::pair<std::function<void()>, QByteArray> commands[]{
        {[&] { key("Color").click(); }, "\\red255\\green0\\blue0"},
        {[&] { key("Underline").click(); }, "\\ul"},
        {[&] { list("cmbFontName").setCurrentIndex(list("cmbFontName").count() - 1); }, family.toLatin1() + ';'},
        {[&] { list("cmbFontSize").setCurrentIndex(list("cmbFontSize").findText(QStringLiteral("16"))); }, "\\fs32"},
        {[&] { key("Align Right").click(); }, "\\qr"},
    };
    for (const auto &[format, mark] : commands) {
        choose(1);
        selectOnPage(3, 7);
        format();
        answer({Button::Yes, Button::Yes});
        choose(2);
        EXPECT_EQ(lastTexts(2), (QStringList{diarytexts::kSaveQuestion, diarytexts::kOverwrite}));
        EXPECT_TRUE(stored(1).contains(mark)) << mark.constData();
    }
    // With nothing selected, Bold only sets what is typed next.
    choose(1);
    const qsizetype shown = harness.dialogs.shown().size();
    key("Bold").click();
    choose(2);
    EXPECT_EQ(harness.dialogs.shown().size(), shown);
}

// The first page of a start and one begun after leaving a formatted page are
// stored alike: what the last page was written in does not carry over.
TEST_F(ToolbarTest, EveryNewPageStartsInTheFontOfTheFirstAndBoldItalicAndUnderlineFollowTheCaretAndTheirKeys)
{
    const auto font = [this](int day) {
        RichTextEdit reader;
        reader.setTextRtf(stored(day));
        reader.selectAll();
        return std::pair(reader.selFontName(), reader.selFontSize());
    };
    QTest::keyClicks(&page(), QStringLiteral("first"));
    run("m2");
    choose(1);
    page().moveCursor(QTextCursor::End);
    choose(2);
    QTest::keyClicks(&page(), QStringLiteral("second"));
    run("m2");
    EXPECT_EQ(std::pair(font(4), font(2)), std::pair(std::pair(list("cmbFontName").itemText(0), qreal(10)), font(4)));
    for (const char *mark : {"\\b", "\\fs48", "Courier"})
        EXPECT_FALSE(stored(2).contains(mark)) << stored(2).constData();

    // The keys show the caret's text, and Ctrl+B, I and U press them from the page.
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    choose(1);
    page().setFocus();
    selectOnPage(3, 7);
    EXPECT_EQ(std::tuple(key("Bold").isChecked(), list("cmbFontName").currentText(), list("cmbFontSize").currentText()),
              std::tuple(true, QStringLiteral("Courier New"), QStringLiteral("24")));
    for (const Qt::Key pressed : {Qt::Key_B, Qt::Key_I, Qt::Key_U})
        QTest::keyClick(&page(), pressed, Qt::ControlModifier);
    EXPECT_EQ(std::pair(page().text(), styles()), std::pair(QStringLiteral("We went skating"), std::tuple(false, true, true)));
    selectOnPage(0, 7);
    key("Italic").click();
    EXPECT_FALSE(key("Italic").isChecked());
    selectOnPage(10, 10);
    EXPECT_EQ(styles(), std::tuple(true, false, false));
}
