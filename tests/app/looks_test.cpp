#include "formharness.h"
#include "looks.h"

#include "app/artwork.h"

#include <QStyle>
#include <QStyleOptionButton>

namespace {

using Button = Dialogs::Button;

const QDate kToday(2026, 12, 4);

// Ink as written: the palette's own, dark blue and brick red.
const QByteArray kColouredPage = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0 Times New Roman;}}\r\n"
                                 "{\\colortbl ;\\red0\\green0\\blue139;\\red178\\green34\\blue34;}\r\n"
                                 "\\viewkind4\\uc1\\pard\\fs32 Plain ink, {\\cf1 dark blue ink} and {\\cf2 brick red}.\\par\r\n}";

// What the main window shows of its look: the artwork's variant, the
// darkness of its background, and the ink of its drawn icons.
void expectShownIn(Form1 &form, Look look)
{
    SCOPED_TRACE(lookName(look));
    const QImage background = named<QLabel>(form, "Image1")->pixmap().toImage();
    const qreal scale = named<QLabel>(form, "Image1")->devicePixelRatioF();
    EXPECT_EQ(background, artwork::backgroundPicture(look, scale).toImage());
    EXPECT_EQ(named<QLabel>(form, "Image2")->pixmap().toImage(), artwork::titleBanner(look, scale).toImage());
    EXPECT_NE(background, artwork::backgroundPicture(look == Look::Dark ? Look::Light : Look::Dark, scale).toImage());
    // Where no control lies: the paper between the calendar and the page.
    QWidget &canvas = *named(form, "canvas");
    const QRect paper(canvas.width() * 31 / 100, canvas.height() * 60 / 100, canvas.width() / 10, canvas.height() / 5);
    const int brightness = qGray(measureContrast(QStringLiteral("paper"), canvas.grab(paper).toImage()).background);
    EXPECT_TRUE(look == Look::Dark ? brightness < 64 : brightness > 204) << brightness;
    // Light ink on the dark look, dark ink on the light one; the toolbar's
    // key is drawn by us, the tests having no desktop theme.
    // The ink is an icon's most opaque pixel.
    for (QToolButton *button : {named<QToolButton>(form, "SSCommand1"), named<QToolButton>(form, "SSCommand4"), named<QToolButton>(form, "Bold")}) {
        const QImage image = button->icon().pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
        const QRgb ink = std::ranges::max(pixelsIn(image), {}, [](QRgb pixel) { return qAlpha(pixel); });
        EXPECT_TRUE(qAlpha(ink) > 200 && (look == Look::Dark ? qGray(ink) > 170 : qGray(ink) < 90))
            << button->toolTip().toStdString() << " draws " << qAlpha(ink) << " opaque, " << qGray(ink) << " grey";
    }
    ContrastCheck headings(QStringLiteral("headings and calendar"), look);
    for (QLabel *label : {named<QLabel>(form, "Label4"), named<QLabel>(form, "Label1"), named<QLabel>(form, "dtpick")})
        headings.control(form, *label);
    headings.control(form, *named<MonthCalendar>(form, "monthview1")->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton")));
    headings.expectReadable();
    // The weekends' colour was worked out again for this look's page.
    const MonthCalendar &calendar = *named<MonthCalendar>(form, "monthview1");
    EXPECT_GE(wcagContrast(calendar.weekdayTextFormat(Qt::Saturday).foreground().color().rgb(), calendar.palette().color(QPalette::Base).rgb()), 4.5);
}

// How many pixels of an RGB32 image have the colour.
qsizetype pixelsOf(const QImage &image, QRgb colour)
{
    return std::ranges::count_if(pixelsIn(image), [colour](QRgb pixel) { return (pixel | 0xff000000u) == (colour | 0xff000000u); });
}

} // namespace

// Started in either look, the window shows it, and then the other when the
// palette changes; a coloured page shows its ink on white paper in both and
// keeps its own colours when stored. Which look a palette is: dark below lightness 128.
TEST(Looks, APaletteIsDarkBelowLightness128AndTheMainWindowShowsItsLookRepaintsWhenItChangesAndAColouredPageKeepsItsInkAndRtf)
{
    testApplication();
    QList<Look> looks;
    for (const int grey : {0, 127, 128, 255})
        looks.append(lookOf(QPalette(QColor(grey, grey, grey))));
    looks << lookOf(darkFusionPalette()) << lookOf(QApplication::style()->standardPalette());
    EXPECT_EQ(looks, (QList{Look::Dark, Look::Dark, Look::Light, Look::Light, Look::Dark, Look::Light}));
    QList<std::tuple<QByteArray, QImage, QByteArray>> shown;
    for (const Look look : {Look::Light, Look::Dark}) {
        const ScopedLook scoped(look);
        FormHarness harness;
        EXPECT_TRUE(pagestore::save(harness.data.root(), kToday, kColouredPage));
        Form1 &form = harness.startWithoutPassword();
        form.show();
        expectShownIn(form, look);
        // The coloured page as the editor gives it, as shown, and as stored when saved back over itself after a
        // letter typed and taken back: the page counts as changed, its text is as it was.
        RichTextEdit &page = *named<RichTextEdit>(form, "rtxt2");
        const QByteArray editor = page.textRtf();
        const QImage pixels = page.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QTest::keyClicks(&page, QStringLiteral("x"));
        QTest::keyClick(&page, Qt::Key_Backspace);
        harness.dialogs.answerMessage(Button::Yes);
        named<QAction>(form, "m2")->trigger();
        shown.append({editor, pixels, pagestore::load(harness.data.root(), kToday).value_or(QByteArray())});
        {
            const Look other = look == Look::Dark ? Look::Light : Look::Dark;
            const ScopedLook changed(other);
            expectShownIn(form, other);
            // A new highlight alone keeps the look, and the picture with it.
            const qint64 picture = named<QLabel>(form, "Image1")->pixmap().cacheKey();
            QPalette palette = QApplication::palette();
            palette.setColor(QPalette::Highlight, QColor(0x80, 0x20, 0x60));
            QApplication::setPalette(palette);
            QCoreApplication::processEvents();
            EXPECT_EQ(named<QLabel>(form, "Image1")->pixmap().cacheKey(), picture);
        }
        expectShownIn(form, look);

        // The style draws an unticked box barely apart from the panel; its outline
        // has to stand out 3:1 from what lies around it.
        named<QAction>(form, "m5")->trigger();
        QCheckBox &box = *named<QCheckBox>(form, "chkTextOnly");
        QStyleOptionButton option;
        option.initFrom(&box);
        const QRect indicator = box.style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, &box);
        const QImage boxed = form.grab(QRect(box.mapTo(&form, QPoint()), box.size())).toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb panel = measureContrast(box.objectName(), boxed).background;
        const QRect edge(indicator.topLeft() * boxed.devicePixelRatio(), indicator.size() * boxed.devicePixelRatio());
        double weakest = 21;
        for (int y = edge.top(); y <= edge.bottom(); ++y)
            for (int x = edge.left(); x <= edge.right(); ++x)
                if (x == edge.left() || x == edge.right() || y == edge.top() || y == edge.bottom())
                    weakest = std::min(weakest, wcagContrast(boxed.pixel(x, y), panel));
        EXPECT_GE(weakest, 3);
    }
    EXPECT_EQ(shown[1], shown[0]);
    const auto &[editor, pixels, stored] = shown[1];
    // The page's own colours are kept, and no colour of the dark look found its way into it.
    for (const auto &[colour, kept] : {std::pair{"\\red0\\green0\\blue139;", true}, {"\\red178\\green34\\blue34;", true},
                                       {"\\red255\\green255\\blue255", false}, {"\\red42\\green42\\blue42", false}})
        EXPECT_EQ(stored.contains(colour), kept) << colour;
    EXPECT_GT(pixelsOf(pixels, qRgb(255, 255, 255)), pixels.width() * pixels.height() / 2);
    for (const QRgb ink : {qRgb(0, 0, 0), qRgb(0, 0, 139), qRgb(178, 34, 34)})
        EXPECT_GT(pixelsOf(pixels, ink), 20);
}
