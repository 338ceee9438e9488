#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The one window a locked diary shows: the password, asked as often as it
// takes. It has no close box; a log-out closing it ends the program.
class LockBox : public QWidget
{
    Q_OBJECT

public:
    // unlock: true when the password opened the diary.
    using Unlock = std::function<bool(const QString &password)>;

    explicit LockBox(Unlock unlock, QWidget *parent = nullptr);

    // Shown empty, without the last attempt's complaint, in front of everything.
    void showLocked();

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *wrongPassword = nullptr;
    QPushButton *Command1 = nullptr;

signals:
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void tryPassword();

    Unlock m_unlock;
};
