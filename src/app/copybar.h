#pragma once

#include <QFrame>

class DayBook;
class QLabel;
class RichTextEdit;

// The bar above a page another computer also changed, when the two could
// not be merged without asking: it says so and opens the comparison.
class CopyBar : public QFrame
{
    Q_OBJECT

public:
    CopyBar(RichTextEdit &page, DayBook &book);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();
    void fit();

    RichTextEdit &m_page;
    DayBook &m_book;
    QLabel *m_told;
};
