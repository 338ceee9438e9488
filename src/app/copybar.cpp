#include "copybar.h"

#include "editor/richtextedit.h"
#include "seams/messages.h"
#include "session/daybook.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CopyBar::CopyBar(RichTextEdit &page, DayBook &book) : QFrame(&page), m_page(page), m_book(book), m_told(new QLabel)
{
    setObjectName(QStringLiteral("copyBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto *compare = new QPushButton(QStringLiteral("&Compare..."));
    compare->setObjectName(QStringLiteral("compareCopy"));
    m_told->setWordWrap(true);
    m_told->setTextFormat(Qt::PlainText);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(m_told, 1);
    row->addWidget(compare);
    connect(compare, &QPushButton::clicked, &book, &DayBook::settlePageCopy);
    connect(&book, &DayBook::pageReplaced, this, &CopyBar::follow);
    connect(&book, &DayBook::pagesChanged, this, &CopyBar::follow);
    connect(&book, &DayBook::dayChanged, this, &CopyBar::follow);
    page.installEventFilter(this);
    hide();
}

void CopyBar::follow()
{
    const auto copy = m_book.pageCopy();
    if (copy)
        m_told->setText(messages::pageChangedElsewhere(conflictnames::describe(copy->name)));
    setVisible(copy.has_value());
    fit();
}

void CopyBar::fit()
{
    const int height = isHidden() ? 0 : hasHeightForWidth() ? heightForWidth(m_page.width()) : sizeHint().height();
    setGeometry(0, 0, m_page.width(), height);
    m_page.reserveTop(height);
}

bool CopyBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QFrame::eventFilter(watched, event);
}
