#include "looks.h"
#include "testapplication.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QHash>
#include <QStyle>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>

QPalette darkFusionPalette()
{
    QPalette palette(QColor(0x35, 0x35, 0x35));
    const QColor window(0x35, 0x35, 0x35);
    const QColor blue(0x2a, 0x82, 0xda);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? QColor(0x7f, 0x7f, 0x7f) : QColor(Qt::white);
        for (const auto &[role, colour] : {std::pair{QPalette::Window, window}, {QPalette::WindowText, text}, {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
                                           {QPalette::AlternateBase, QColor(0x42, 0x42, 0x42)}, {QPalette::ToolTipBase, QColor(0x19, 0x19, 0x19)},
                                           {QPalette::ToolTipText, QColor(Qt::white)}, {QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a)},
                                           {QPalette::Text, text}, {QPalette::Button, window}, {QPalette::ButtonText, text},
                                           {QPalette::BrightText, QColor(Qt::red)}, {QPalette::Link, blue},
                                           {QPalette::Highlight, disabled ? QColor(0x50, 0x50, 0x50) : blue}, {QPalette::HighlightedText, text}})
            palette.setColor(group, role, colour);
    }
    return palette;
}

ScopedLook::ScopedLook(Look look) : m_saved((testApplication(), QApplication::palette()))
{
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(look == Look::Dark ? darkFusionPalette() : QApplication::style()->standardPalette());
    // The windows hear of a new palette through posted events.
    QCoreApplication::processEvents();
}

ScopedLook::~ScopedLook()
{
    QApplication::setPalette(m_saved);
    QCoreApplication::processEvents();
}

const char *lookName(Look look)
{
    return look == Look::Dark ? "dark" : "light";
}

double wcagContrast(QRgb one, QRgb other)
{
    const auto relativeLuminance = [](QRgb colour) {
        const auto linear = [](int channel) {
            const double c = channel / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
    };
    const double a = relativeLuminance(one);
    const double b = relativeLuminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

Contrast measureContrast(const QString &control, const QImage &pixels)
{
    const QImage image = pixels.convertToFormat(QImage::Format_RGB32);
    // Colours counted in bins of 16 levels a channel, so that a gradient's
    // rows (a Fusion button, a wash of paper) count as one background.
    struct Bin
    {
        int count = 0;
        qint64 red = 0, green = 0, blue = 0;
    };
    QHash<int, Bin> bins;
    const std::span colours = pixelsIn(image);
    for (const QRgb colour : colours) {
        Bin &bin = bins[(qRed(colour) >> 4) << 8 | (qGreen(colour) >> 4) << 4 | qBlue(colour) >> 4];
        ++bin.count;
        bin.red += qRed(colour);
        bin.green += qGreen(colour);
        bin.blue += qBlue(colour);
    }
    Contrast result{control};
    const auto most = std::max_element(bins.cbegin(), bins.cend(), [](const Bin &a, const Bin &b) { return a.count < b.count; });
    if (most == bins.cend())
        return result;
    result.background = qRgb(int(most->red / most->count), int(most->green / most->count), int(most->blue / most->count));
    // Anti-aliasing only ever softens text, so its strongest pixel is its ink.
    for (const QRgb colour : colours) {
        const double ratio = wcagContrast(colour, result.background);
        if (ratio > result.ratio) {
            result.ratio = ratio;
            result.text = colour | 0xff000000u;
        }
    }
    return result;
}

void ContrastCheck::control(QWidget &window, QWidget &control, const QString &name)
{
    const QRect where(control.mapTo(&window, QPoint(0, 0)), control.size());
    const QString given = name.isEmpty() ? control.objectName() : name;
    const QString shown = given.isEmpty() ? QString::fromLatin1(control.metaObject()->className()) : given;
    ASSERT_TRUE(control.isVisible()) << shown.toStdString();
    picture(shown, window.grab(where).toImage());
}

void ContrastCheck::picture(const QString &name, const QImage &pixels)
{
    m_results.append(measureContrast(name, pixels));
    m_pixels.append(pixels);
}

void ContrastCheck::expectReadable() const
{
    ASSERT_FALSE(m_results.isEmpty());
    const auto shows = [](const Contrast &result) {
        return QStringLiteral("%1 %2:1 (#%3 on #%4)")
            .arg(result.control)
            .arg(result.ratio, 0, 'f', 2)
            .arg(result.text & 0xffffff, 6, 16, QLatin1Char('0'))
            .arg(result.background & 0xffffff, 6, 16, QLatin1Char('0'));
    };
    QList<Contrast> sorted = m_results;
    std::sort(sorted.begin(), sorted.end(), [](const Contrast &a, const Contrast &b) { return a.ratio < b.ratio; });
    QStringList worst;
    std::ranges::transform(sorted.first(std::min<qsizetype>(3, sorted.size())), std::back_inserter(worst), shows);
    const int percent = qRound(qApp->devicePixelRatio() * 100);
    std::printf("contrast %s %s %d%%: %lld controls, worst %s\n", qPrintable(m_window), lookName(m_look), percent,
                static_cast<long long>(m_results.size()), qPrintable(worst.join(QStringLiteral(", "))));
    for (qsizetype i = 0; i < m_results.size(); ++i) {
        const Contrast &result = m_results[i];
        // What failed, cut out, for a person to look at beside the screenshots.
        if (result.ratio < 4.5) {
            const QString folder = QStringLiteral(QUILLNEST_SCREENSHOT_DIR);
            QDir().mkpath(folder);
            QString name = QStringLiteral("unreadable-%1-%2-%3-%4.png").arg(m_window, QString::fromLatin1(lookName(m_look)), result.control).arg(percent);
            name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]+")), QStringLiteral("_"));
            m_pixels[i].save(folder + QLatin1Char('/') + name);
        }
        EXPECT_GE(result.ratio, 4.5) << m_window.toStdString() << ' ' << lookName(m_look) << ": " << shows(result).toStdString();
    }
}
