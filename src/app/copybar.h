#pragma once

#include "sync/conflictcopies.h"

#include <QFrame>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class RichTextEdit;

// The bar above a page or yearly note that another computer also changed:
// it tells of a copy that could not be merged without asking and opens the
// comparison, and of a version that replaced the untouched text shown.
class CopyBar : public QFrame
{
    Q_OBJECT

public:
    struct Words
    {
        std::function<std::optional<conflictcopies::Found>()> copy;
        // The line for a copy, given what its name tells.
        QString (*copyLine)(const QString &told);
        QString arrivedLine;
    };

    CopyBar(RichTextEdit &editor, const char *name, const char *compareName, Words words);

    void follow();
    // The text shown was reloaded as another computer saved it; said until it is replaced again.
    void showArrived();
    void forgetArrived();

signals:
    void compareClicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit();

    RichTextEdit &m_editor;
    Words m_words;
    QLabel *m_told;
    QPushButton *m_compare;
    bool m_arrived = false;
};
