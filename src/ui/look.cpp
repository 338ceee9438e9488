#include "look.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

class PaletteFollower : public QObject
{
public:
    PaletteFollower(QWidget &widget, PaletteAdjustment adjust) : QObject(&widget), m_widget(widget), m_adjust(std::move(adjust))
    {
        widget.installEventFilter(this);
        apply();
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const auto type = event->type();
        if (watched == &m_widget && !m_applying
            && (type == QEvent::PaletteChange || type == QEvent::ApplicationPaletteChange || type == QEvent::ParentChange))
            apply();
        return false;
    }

private:
    // From what the widget would have without its own colours, so that a
    // new palette is read afresh and never darkened twice.
    void apply()
    {
        m_applying = true;
        const QWidget *parent = m_widget.isWindow() ? nullptr : m_widget.parentWidget();
        const QPalette inherited = parent ? parent->palette() : QApplication::palette(&m_widget);
        // Only what adjust sets is the widget's own; all else still follows its parent.
        QPalette own = inherited;
        own.setResolveMask(0);
        m_adjust(inherited, own);
        m_widget.setPalette(own);
        m_applying = false;
    }

    QWidget &m_widget;
    PaletteAdjustment m_adjust;
    bool m_applying = false;
};

} // namespace

Look lookOf(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128 ? Look::Dark : Look::Light;
}

Look currentLook()
{
    return lookOf(QGuiApplication::palette());
}

Inks inksOf(Look look)
{
    if (look == Look::Dark)
        return {QColor(0xdc, 0xe4, 0xf2), QColor(0x3a, 0x40, 0x4d)};
    return {QColor(0x2f, 0x3e, 0x5c), QColor(Qt::white)};
}

double contrastRatio(const QColor &one, const QColor &other)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double channel) { return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableAgainst(QColor colour, const QColor &other, double ratio)
{
    // Towards black or white, whichever lies further from other.
    const bool darken = contrastRatio(other, Qt::black) >= contrastRatio(other, Qt::white);
    const QColor end = darken ? QColor(Qt::black) : QColor(Qt::white);
    const QColor start = colour;
    for (int step = 1; step <= 20 && contrastRatio(colour, other) < ratio; ++step) {
        const double t = step / 20.0;
        colour = QColor::fromRgbF(start.redF() + (end.redF() - start.redF()) * t, start.greenF() + (end.greenF() - start.greenF()) * t,
                                  start.blueF() + (end.blueF() - start.blueF()) * t);
    }
    return colour;
}

void followPalette(QWidget &widget, PaletteAdjustment adjust)
{
    new PaletteFollower(widget, std::move(adjust));
}

void makeSelectionReadable(const QPalette &inherited, QPalette &own)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        own.setColor(group, QPalette::Highlight,
                     readableAgainst(inherited.color(group, QPalette::Highlight), inherited.color(group, QPalette::HighlightedText), kReadable));
}

void keepSelectionReadable(QWidget &widget)
{
    followPalette(widget, makeSelectionReadable);
}

// Only the two roles are set, so the rest (selection, scroll bars) still follows the desktop.
void keepPaper(QWidget &editor)
{
    QPalette palette = editor.palette();
    palette.setResolveMask(0);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Text, group == QPalette::Disabled ? QColor(0x6d, 0x6d, 0x6d) : QColor(Qt::black));
    }
    editor.setPalette(palette);
}
