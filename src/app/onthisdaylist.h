#pragma once

#include <QAbstractListModel>
#include <QDate>
#include <QHash>
#include <QListView>

class DiarySession;
class QLabel;

// A list one row high: what it needs is a year's width and a line's height,
// not the room of a scroll area's bars. Its years share out the row's whole
// width, so a click anywhere on it opens a day, not only on a year's digits.
class YearRow : public QListView
{
    Q_OBJECT

public:
    explicit YearRow(QWidget *parent = nullptr);
    QSize minimumSizeHint() const override;
};

// "On this day": the earlier years with a page on the selected day, under
// the yearly note, following the session; a year clicked opens its page.
// Each year's tool tip, the page's first line, is read when first asked for,
// so a day change reads no page but its own.
class OnThisDayList : public QAbstractListModel
{
    Q_OBJECT

public:
    OnThisDayList(DiarySession &session, QLabel &caption, QListView &years, QObject *parent);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    QString label(QDate day) const;
    void show();
    void forgetFirstLines();

    DiarySession &m_session;
    QLabel &m_caption;
    QListView &m_years;
    QList<QDate> m_days;
    // The day of the month the labels were made for.
    int m_dayOfMonth = 0;
    mutable QHash<QDate, QString> m_firstLines;
};
