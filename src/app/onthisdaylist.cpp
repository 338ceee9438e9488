#include "onthisdaylist.h"

#include "session/daybook.h"
#include "session/diarysearch.h"
#include "session/diarysession.h"
#include "session/vaultcontrols.h"
#include "ui/plaintext.h"
#include "vault/wipe.h"

#include <QLabel>
#include <QLocale>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Each year as wide as its text, or its share of the row where that is wider.
class SharedWidth : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (const auto *row = qobject_cast<const QListView *>(option.widget); row && row->model()->rowCount() > 0)
            size.setWidth(std::max(size.width(), row->viewport()->width() / row->model()->rowCount()));
        return size;
    }
};

} // namespace

YearRow::YearRow(QWidget *parent) : QListView(parent)
{
    setItemDelegate(new SharedWidth(this));
    // The shares follow the row's width.
    setResizeMode(QListView::Adjust);
}

QSize YearRow::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    return {fontMetrics().horizontalAdvance(QStringLiteral("0000")) + frame, fontMetrics().height() + frame};
}

OnThisDayList::OnThisDayList(DiarySession &session, QLabel &caption, QListView &years, QObject *parent)
    : QAbstractListModel(parent), m_session(session), m_caption(caption), m_years(years)
{
    setObjectName(QStringLiteral("onThisDay"));
    years.setModel(this);
    connect(&session.book(), &DayBook::dayChanged, this, &OnThisDayList::show);
    connect(&session.book(), &DayBook::pagesChanged, this, &OnThisDayList::show);
    connect(&session.vault(), &VaultControls::lockChanged, this, [this](bool locked) {
        if (locked)
            forgetFirstLines();
    });
    // Queued: choosing the day refills the list whose year was clicked.
    for (auto signal : {&QListView::clicked, &QListView::activated})
        connect(&years, signal, this, [this](const QModelIndex &index) { m_session.chooseDay(m_days.value(index.row())); },
                Qt::QueuedConnection);
    show();
}

int OnThisDayList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_days.size());
}

QVariant OnThisDayList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_days.size())
        return {};
    const QDate day = m_days[index.row()];
    if (role == Qt::DisplayRole)
        return label(day);
    if (role != Qt::ToolTipRole)
        return {};
    auto line = m_firstLines.find(day);
    if (line == m_firstLines.end())
        line = m_firstLines.insert(day, m_session.search().firstLineOf(day));
    return line->isEmpty() ? QLocale().toString(day, QLocale::LongFormat) : plainToolTip(*line);
}

// Locked, the pages' first lines go with the rest of their words; a tool tip reads its line again.
void OnThisDayList::forgetFirstLines()
{
    for (QString &line : m_firstLines)
        wipe(line);
    m_firstLines.clear();
}

// A year alone, but for a 29 February shown on the 28th: that year may
// have a page on the 28th as well, and the two must not look the same.
QString OnThisDayList::label(QDate day) const
{
    if (day.day() == m_dayOfMonth)
        return QString::number(day.year());
    return QLocale().toString(day, QStringLiteral("d MMM yyyy"));
}

// Where the new day's labels are the old ones, as in a diary kept every day,
// the view is left as it is.
void OnThisDayList::show()
{
    QList<QDate> days = m_session.search().onThisDay();
    m_firstLines.clear();
    const int dayOfMonth = m_session.book().selectedDay().day();
    const auto sameLabel = [dayOfMonth, before = m_dayOfMonth](QDate now, QDate then) {
        const bool yearNow = now.day() == dayOfMonth;
        return yearNow == (then.day() == before) && (yearNow ? now.year() == then.year() : now == then);
    };
    const bool same = std::ranges::equal(days, m_days, sameLabel);
    m_dayOfMonth = dayOfMonth;
    if (same) {
        m_days = std::move(days);
        return;
    }
    beginResetModel();
    m_days = std::move(days);
    endResetModel();
    m_caption.setVisible(!m_days.isEmpty());
    m_years.setVisible(!m_days.isEmpty());
}
