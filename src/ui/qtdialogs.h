#pragma once

#include "seams/dialogs.h"

#include <QPointer>
#include <QWidget>

// The real dialogs, all drawn by Qt itself rather than the desktop's own, so
// they look and centre the same on every desktop.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);

    using Dialogs::message;
    Button message(const QString &text, const QString &title, Icon icon, Buttons buttons, Button defaultButton) override;
    QString input(const QString &prompt, const QString &title, Echo echo) override;
    QString openFile(const QString &title, const QString &filter, const QString &folder) override;
    QString saveFile(const QString &title, const QString &suggestedName, const QString &filter) override;
    std::optional<QColor> color(ColorFlags flags, const QColor &current) override;
    QString openFolder(const QString &title, const QString &folder) override;
    std::optional<Choice> choose(const QString &title, const QString &prompt, const QStringList &choices,
                                 const Choice &offered) override;
    std::optional<int> compare(const QString &title, const QString &prompt, const Side &left, const Side &right,
                               const QStringList &choices) override;
    std::optional<QTime> timeOfDay(const QString &title, const QString &prompt, QTime offered) override;

private:
    QPointer<QWidget> m_parent;
};
