#pragma once

#include <QObject>

class QComboBox;
class RichTextEdit;

// The toolbar's font name and size lists: they show the font at the page's
// caret and give the selection the one chosen or typed.
class FontLists : public QObject
{
    Q_OBJECT

public:
    FontLists(QComboBox &names, QComboBox &sizes, RichTextEdit &page, QObject *parent);

    void fill();

private:
    void nameChosen();
    void sizeChosen();
    void sizeTyped();
    void showCaretFont();

    QComboBox &m_names;
    QComboBox &m_sizes;
    RichTextEdit &m_page;
};
