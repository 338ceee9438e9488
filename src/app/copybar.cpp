#include "copybar.h"

#include "editor/richtextedit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CopyBar::CopyBar(RichTextEdit &editor, const char *name, const char *compareName, Words words)
    : QFrame(&editor), m_editor(editor), m_words(std::move(words)), m_told(new QLabel), m_compare(new QPushButton(QStringLiteral("&Compare...")))
{
    setObjectName(QLatin1String(name));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    m_compare->setObjectName(QLatin1String(compareName));
    // The copy's name comes from the folder.
    m_told->setTextFormat(Qt::PlainText);
    m_told->setWordWrap(true);
    m_told->setTextFormat(Qt::PlainText);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 6, 2);
    row->addWidget(m_told, 1);
    row->addWidget(m_compare);
    connect(m_compare, &QPushButton::clicked, this, &CopyBar::compareClicked);
    editor.installEventFilter(this);
    hide();
}

void CopyBar::follow()
{
    const auto copy = m_words.copy();
    QStringList lines;
    if (m_arrived)
        lines << m_words.arrivedLine;
    if (copy)
        lines << m_words.copyLine(conflictnames::describe(copy->name));
    m_told->setText(lines.join(u' '));
    m_compare->setVisible(copy.has_value());
    setVisible(!lines.isEmpty());
    fit();
}

void CopyBar::showArrived()
{
    m_arrived = true;
    follow();
}

void CopyBar::forgetArrived()
{
    m_arrived = false;
    follow();
}

void CopyBar::fit()
{
    const int height = isHidden() ? 0 : hasHeightForWidth() ? heightForWidth(m_editor.width()) : sizeHint().height();
    setGeometry(0, 0, m_editor.width(), height);
    m_editor.reserveTop(height);
}

bool CopyBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize)
        fit();
    return QFrame::eventFilter(watched, event);
}
