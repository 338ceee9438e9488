#pragma once

#include "ui/look.h"

#include <QImage>
#include <QList>
#include <QPalette>
#include <QString>

#include <span>

class QWidget;

// The light and the dark look as a desktop gives them: Qt's Fusion style
// with its own light palette, or with a dark one of the kind dark themes use.
QPalette darkFusionPalette();

// Sets the look for as long as it lives, then puts the palette back.
class ScopedLook
{
public:
    explicit ScopedLook(Look look);
    ~ScopedLook();
    ScopedLook(const ScopedLook &) = delete;
    ScopedLook &operator=(const ScopedLook &) = delete;

private:
    QPalette m_saved;
};

const char *lookName(Look look);

// WCAG's contrast of two colours, from their relative luminance: 1 to 21.
// Written here again, not taken from the program, so that a fault there
// cannot hide itself.
double wcagContrast(QRgb one, QRgb other);

// The pixels of a 32-bit image, row after row: such rows have no padding.
inline auto pixelsIn(const QImage &image) { return std::span(reinterpret_cast<const QRgb *>(image.constBits()), std::size_t(image.width() * image.height())); }

// What a control shows: its background is the colour most of its pixels
// have, its text the colour of the strongest contrast with that.
struct Contrast
{
    QString control;
    QRgb background = 0;
    QRgb text = 0;
    double ratio = 1;
};
Contrast measureContrast(const QString &control, const QImage &pixels);

// Each control as it looks inside window: cut from the window's own picture,
// so what lies under a see-through label counts.
class ContrastCheck
{
public:
    ContrastCheck(QString window, Look look) : m_window(std::move(window)), m_look(look) {}

    void control(QWidget &window, QWidget &control, const QString &name = {});
    void picture(const QString &name, const QImage &pixels);
    // Fails the test for each control under 4.5:1 and prints the worst.
    void expectReadable() const;

private:
    QString m_window;
    Look m_look;
    QList<Contrast> m_results;
    QList<QImage> m_pixels;
};
