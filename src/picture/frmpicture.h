#pragma once

#include <QWidget>

class Dialogs;
class PictureBox;
class QComboBox;
class QImage;
class QLabel;
class QToolBar;
class RichTextEdit;

// The picture window: shows the chosen picture, scales it by a factor picked
// from a list and pastes it into the page. Paste and Close only hide it, so
// it keeps its pictures; its close box discards it.
class Frmpicture : public QWidget
{
    Q_OBJECT

public:
    Frmpicture(RichTextEdit &page, Dialogs &dialogs, QWidget *parent = nullptr);

    // The hand-over from Add Picture, in two steps: the original is kept
    // first, then the window shows it unscaled and takes the focus.
    void setUnscaledPicture(const QImage &picture);
    void showUnscaled();

    QToolBar *Toolbar1 = nullptr;
    QLabel *Text1 = nullptr;
    QComboBox *Combo1 = nullptr;
    PictureBox *Picture1 = nullptr;
    PictureBox *Picture2 = nullptr;

public slots:
    void Combo1_Click(int index);
    void Toolbar1_ButtonClick(const QString &key);

private:
    void buildControls();
    void buildToolbar();
    void Form_Load();
    void showScale(const QString &entry);
    void centrePreview();
    void paste();

    RichTextEdit &m_page;
    Dialogs &m_dialogs;
    // The entry the preview is scaled by, restored when a pick is refused.
    QString m_shownScale;
};
