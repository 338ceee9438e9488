#pragma once

#include <QPointer>
#include <QProgressDialog>
#include <QString>

class QWidget;

// The progress of a long job over pages, shown only when it has more than
// a few hundred of them; a short one passes too quickly to read a bar.
class ProgressBox
{
public:
    static constexpr int kShownAbove = 300;
    // Hidden for a job that cannot stop half way.
    enum class Cancel { Shown, Hidden };

    ProgressBox(QWidget *parent, QString label, Cancel cancel = Cancel::Shown);
    ~ProgressBox();
    ProgressBox(const ProgressBox &) = delete;
    ProgressBox &operator=(const ProgressBox &) = delete;

    // False once the user pressed Cancel.
    bool update(int done, int total);

private:
    QWidget *m_parent;
    QString m_label;
    Cancel m_cancel;
    QPointer<QProgressDialog> m_dialog;
};
