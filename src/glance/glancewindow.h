#pragma once

#include "richtext/diaryfigures.h"

#include <QWidget>

class DiarySession;
class QLabel;
class QListWidget;
class StatisticsPanel;
class YearGrid;

// Year at a Glance: the writing calendar of a year, its statistics and the
// diary's tags. A day chosen here opens in the main window as the calendar
// or the search would open it, with the same questions. It follows saves,
// and a lock empties it: an encrypted diary's words must not stay on screen.
class GlanceWindow : public QWidget
{
    Q_OBJECT

public:
    GlanceWindow(DiarySession &session, QWidget *mainWindow);

    // The one window of mainWindow, made when there is none, shown in front.
    static GlanceWindow &bringUp(DiarySession &session, QWidget &mainWindow);

    YearGrid &grid() const { return *m_grid; }
    StatisticsPanel &statistics() const { return *m_statistics; }

private:
    QWidget *yearBar();
    QWidget *tagLists();
    void reload();
    void showYear(int year, QDate focused);
    void stepYear(int by);
    void showTags();
    void showTagged();
    void forget();

    DiarySession &m_session;
    QList<diaryfigures::Page> m_pages;
    YearGrid *m_grid = nullptr;
    QLabel *m_year = nullptr;
    StatisticsPanel *m_statistics = nullptr;
    QListWidget *m_tags = nullptr;
    QListWidget *m_tagged = nullptr;
};
