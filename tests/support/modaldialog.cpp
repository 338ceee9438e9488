#include "modaldialog.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

void whenModalShown(std::function<void(QDialog &)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        const QPointer dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal dialog is showing";
            return;
        }
        act(*dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
}
