#include "maincontrols.h"

#include "app/artwork.h"
#include "ui/designgeometry.h"
#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "app/onthisdaylist.h"
#include "editor/richtextedit.h"
#include "ui/outlinedcheckbox.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include <type_traits>

namespace {

const QString kCaptionFace = QStringLiteral("Times New Roman");

QFont captionFont()
{
    QFont font(kCaptionFace);
    font.setPointSize(10);
    return font;
}

template <typename W, typename... Args>
W *made(QWidget *parent, const char *name, const QString &spoken, Args &&...args)
{
    auto *widget = new W(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    if (!spoken.isEmpty())
        widget->setAccessibleName(spoken);
    // A label may show a name from the folder, never drawn as markup.
    if constexpr (std::is_same_v<W, QLabel>)
        widget->setTextFormat(Qt::PlainText);
    return widget;
}

QLabel *heading(QWidget *parent, const char *name, const QString &caption, qreal points)
{
    auto *label = made<QLabel>(parent, name, caption, caption);
    QFont font(kCaptionFace);
    font.setPointSizeF(points);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

QLabel *picture(QWidget *parent, const char *name, QPixmap (*drawing)(Look, qreal))
{
    auto *label = made<QLabel>(parent, name, QString());
    artwork::showInLook(*label, drawing);
    label->setScaledContents(true);
    return label;
}

QToolButton *pageButton(QWidget *parent, const char *name, const QString &spoken, artwork::PageButton which)
{
    auto *button = made<QToolButton>(parent, name, spoken);
    button->setIcon(artwork::pageButtonIcon(which));
    button->setToolTip(spoken);
    button->setAutoRaise(true);
    return button;
}

} // namespace

MainControls::MainControls(QMainWindow &window)
{
    canvas = new QWidget(&window);
    canvas->setObjectName(QStringLiteral("canvas"));
    // The canvas follows the desktop's palette; its pictures follow its look.
    keepSelectionReadable(window);
    canvas->setAutoFillBackground(true);
    canvas->setBackgroundRole(QPalette::Window);
    window.setCentralWidget(canvas);

    Image1 = picture(canvas, "Image1", artwork::backgroundPicture);
    placeInTwips(Image1, 0, 420, 12600, 7875);
    Image2 = picture(canvas, "Image2", artwork::titleBanner);
    placeInTwips(Image2, 3000, 540, 6615, 990);
    buildToolbar();
    buildSearchPanel();
    buildOpenPanel();

    rtxt = made<RichTextEdit>(canvas, "rtxt", QStringLiteral("Important on this date"));
    keepPaper(*rtxt);
    placeInTwips(rtxt, 360, 5640, 3255, 1935);
    monthview1 = made<MonthCalendar>(canvas, "monthview1", QStringLiteral("Calendar"));
    placeInTwips(monthview1, 360, 2280, 3255, 2895);
    rtxt2 = made<RichTextEdit>(canvas, "rtxt2", QStringLiteral("Diary page"));
    keepPaper(*rtxt2);
    placeInTwips(rtxt2, 5520, 2880, 5415, 4215);
    dtpick = heading(canvas, "dtpick", QString(), 14.25);
    dtpick->setAccessibleName(QStringLiteral("Selected day"));
    placeInTwips(dtpick, 360, 1920, 3255, 375);
    Label5 = heading(canvas, "Label5", QString(), 12);
    placeInTwips(Label5, 6360, 1680, 3615, 255);
    Label4 = heading(canvas, "Label4", QStringLiteral("Date Information"), 14.25);
    placeInTwips(Label4, 6600, 1920, 3015, 330);
    Label3 = heading(canvas, "Label3", QString(), 14.25);
    Label3->setAccessibleName(QStringLiteral("Open page file"));
    placeInTwips(Label3, 6600, 2280, 3015, 255);
    Label1 = heading(canvas, "Label1", QStringLiteral("Important on this date"), 14.25);
    placeInTwips(Label1, 360, 5280, 3255, 330);
    buildOnThisDay();

    Image1->lower();
    Image2->stackUnder(Toolbar1);
}

QList<QWidget *> MainControls::inOrder() const
{
    return {Toolbar1, Frame2, SSCommand1, SSCommand2, SSCommand3, SSCommand4, text3, cmbFontName, cmbFontSize, Frame5, Label6[0], Text4,
            chkMatchCase, chkTextOnly, Command4, Label6[1], List1, lblNoMatches, Command1, Frame3, File3, Command3, rtxt, monthview1,
            rtxt2, dtpick, Label5, Label4, Label3, Image1, Label1, Image2, lblOnThisDay, lstOnThisDay};
}

void MainControls::buildToolbar()
{
    Toolbar1 = made<QToolBar>(canvas, "Toolbar1", QStringLiteral("Toolbar"));
    placeInTwips(Toolbar1, 0, 0, 12600, 420);
    Frame2 = made<QFrame>(Toolbar1, "Frame2", QStringLiteral("Pages"));
    placeInTwips(Frame2, 6480, -10, 2655, 375);
    SSCommand1 = pageButton(Frame2, "SSCommand1", QStringLiteral("First page"), artwork::PageButton::First);
    SSCommand2 = pageButton(Frame2, "SSCommand2", QStringLiteral("Previous page"), artwork::PageButton::Previous);
    text3 = made<QLabel>(Frame2, "text3", QStringLiteral("Page number"), QStringLiteral("0"));
    text3->setAlignment(Qt::AlignCenter);
    SSCommand3 = pageButton(Frame2, "SSCommand3", QStringLiteral("Next page"), artwork::PageButton::Next);
    SSCommand4 = pageButton(Frame2, "SSCommand4", QStringLiteral("Last page"), artwork::PageButton::Last);
    placeInTwips(SSCommand1, 120, 0, 375, 375);
    placeInTwips(SSCommand2, 480, 0, 375, 375);
    placeInTwips(text3, 840, 0, 855, 375);
    placeInTwips(SSCommand3, 1680, 0, 375, 375);
    placeInTwips(SSCommand4, 2040, 0, 375, 375);
    cmbFontName = made<QComboBox>(Toolbar1, "cmbFontName", QStringLiteral("Font name"));
    cmbFontSize = made<QComboBox>(Toolbar1, "cmbFontSize", QStringLiteral("Font size"));
    for (QComboBox *list : {cmbFontName, cmbFontSize}) {
        list->setEditable(true);
        // The typing field takes the focus; on Linux the box itself is announced by its value.
        list->lineEdit()->setAccessibleName(list->accessibleName());
    }
    placeInTwips(cmbFontName, 9360, 0, 1815, 315);
    placeInTwips(cmbFontSize, 11280, 0, 855, 315);
}

void MainControls::buildSearchPanel()
{
    Frame5 = made<QGroupBox>(canvas, "Frame5", QStringLiteral("Search"), QStringLiteral("Search"));
    Frame5->setFont(captionFont());
    // The panels lie over the calendar, which must not show through.
    Frame5->setAutoFillBackground(true);
    Label6[0] = made<QLabel>(Frame5, "Label6", QString(), QStringLiteral("Search For:"));
    Text4 = made<QLineEdit>(Frame5, "Text4", QStringLiteral("Search for"));
    chkMatchCase = made<OutlinedCheckBox>(Frame5, "chkMatchCase", QStringLiteral("Match case"), QStringLiteral("Match case"));
    chkMatchCase->setChecked(true);
    chkTextOnly = made<OutlinedCheckBox>(Frame5, "chkTextOnly", QStringLiteral("Look in the text only"), QStringLiteral("Look in the text only"));
    Command4 = made<QPushButton>(Frame5, "Command4", QStringLiteral("Search"), QStringLiteral("Search"));
    Label6[1] = made<QLabel>(Frame5, "Label6", QString(), QStringLiteral("Matches:"));
    List1 = made<QListWidget>(Frame5, "List1", QStringLiteral("Matches"));
    lblNoMatches = made<QLabel>(Frame5, "lblNoMatches", QString(), QStringLiteral("No page was found."));
    Command1 = made<QPushButton>(Frame5, "Command1", QStringLiteral("Close search"), QStringLiteral("Close"));
    Label6[0]->setBuddy(Text4);
    Label6[1]->setBuddy(List1);
    placeInTwips(Frame5, 360, 2280, 3255, 5295);
    placeInTwips(Label6[0], 360, 480, 1335, 255);
    placeInTwips(Text4, 600, 840, 2055, 375);
    // The choices take their room from the list of matches.
    placeInTwips(chkMatchCase, 600, 1260, 2415, 255);
    placeInTwips(chkTextOnly, 600, 1530, 2415, 255);
    placeInTwips(Command4, 840, 1890, 1575, 375);
    placeInTwips(Label6[1], 360, 2370, 1335, 255);
    placeInTwips(List1, 600, 2730, 2055, 1605);
    placeInTwips(lblNoMatches, 600, 4350, 2415, 285);
    lblNoMatches->hide();
    placeInTwips(Command1, 840, 4680, 1575, 375);
    Frame5->hide();
}

void MainControls::buildOpenPanel()
{
    Frame3 = made<QGroupBox>(canvas, "Frame3", QStringLiteral("Open"), QStringLiteral("Open"));
    Frame3->setFont(captionFont());
    Frame3->setAutoFillBackground(true);
    File3 = made<FileListBox>(Frame3, "File3", QStringLiteral("Stored pages"));
    Command3 = made<QPushButton>(Frame3, "Command3", QStringLiteral("Close open panel"), QStringLiteral("Close"));
    placeInTwips(Frame3, 360, 2280, 3255, 5295);
    placeInTwips(File3, 480, 480, 2175, 3795);
    placeInTwips(Command3, 840, 4680, 1455, 375);
    Frame3->hide();
}

// Under the yearly note there is room for one row: the caption and the years,
// shown by OnThisDayList when there are any.
void MainControls::buildOnThisDay()
{
    lstOnThisDay = made<YearRow>(canvas, "lstOnThisDay", QStringLiteral("On this day in earlier years"));
    lstOnThisDay->setFlow(QListView::LeftToRight);
    lstOnThisDay->setWrapping(false);
    lstOnThisDay->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One row, too low for scroll bars: the wheel and the arrow keys move along it.
    lstOnThisDay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lstOnThisDay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lblOnThisDay = made<QLabel>(canvas, "lblOnThisDay", QString(), QStringLiteral("On this day:"));
    lblOnThisDay->setFont(captionFont());
    lblOnThisDay->setAttribute(Qt::WA_TranslucentBackground);
    lblOnThisDay->setBuddy(lstOnThisDay);
    placeInTwips(lblOnThisDay, 360, 7650, 1335, 315);
    placeInTwips(lstOnThisDay, 1695, 7620, 1920, 375);
    lblOnThisDay->hide();
    lstOnThisDay->hide();
}
