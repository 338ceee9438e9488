#include "glancewindow.h"

#include "statisticspanel.h"
#include "yeargrid.h"

#include "diary/daykeys.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "session/diarytally.h"
#include "session/vaultcontrols.h"
#include "ui/plaintext.h"
#include "vault/wipe.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

GlanceWindow::GlanceWindow(DiarySession &session, QWidget *mainWindow) : QWidget(mainWindow, Qt::Window), m_session(session)
{
    setObjectName(QStringLiteral("glanceWindow"));
    setWindowTitle(QStringLiteral("Year at a Glance"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_grid = new YearGrid(this);
    m_grid->setObjectName(QStringLiteral("yearGrid"));
    m_statistics = new StatisticsPanel(this);
    auto *below = new QHBoxLayout;
    below->addWidget(m_statistics, 1);
    below->addWidget(tagLists(), 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(yearBar());
    layout->addWidget(m_grid);
    layout->addLayout(below, 1);

    connect(m_grid, &YearGrid::dayOpened, this, [this](QDate day) { m_session.chooseDay(day); });
    connect(m_grid, &YearGrid::yearStepped, this, &GlanceWindow::stepYear);
    connect(&session.book(), &DayBook::pagesChanged, this, &GlanceWindow::reload);
    connect(&session.vault(), &VaultControls::lockChanged, this, &GlanceWindow::reload);
    const QDate selected = session.book().selectedDay();
    m_grid->showYear(selected.year(), {}, selected);
    reload();
    m_grid->setFocus();
}

GlanceWindow &GlanceWindow::bringUp(DiarySession &session, QWidget &mainWindow)
{
    auto *window = mainWindow.findChild<GlanceWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window)
        window = new GlanceWindow(session, &mainWindow);
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

QWidget *GlanceWindow::yearBar()
{
    auto *bar = new QWidget(this);
    auto *previous = new QPushButton(QStringLiteral("<"), bar);
    previous->setObjectName(QStringLiteral("previous"));
    previous->setAccessibleName(QStringLiteral("Previous year"));
    previous->setToolTip(QStringLiteral("Previous year (Page Up)"));
    auto *next = new QPushButton(QStringLiteral(">"), bar);
    next->setObjectName(QStringLiteral("next"));
    next->setAccessibleName(QStringLiteral("Next year"));
    next->setToolTip(QStringLiteral("Next year (Page Down)"));
    m_year = new QLabel(bar);
    m_year->setAlignment(Qt::AlignCenter);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins({});
    layout->addWidget(previous);
    layout->addWidget(m_year, 1);
    layout->addWidget(next);
    connect(previous, &QPushButton::clicked, this, [this] { stepYear(-1); });
    connect(next, &QPushButton::clicked, this, [this] { stepYear(1); });
    return bar;
}

QWidget *GlanceWindow::tagLists()
{
    auto *lists = new QWidget(this);
    m_tags = new QListWidget(lists);
    m_tags->setObjectName(QStringLiteral("tags"));
    m_tags->setAccessibleName(QStringLiteral("Tags"));
    m_tagged = new QListWidget(lists);
    m_tagged->setObjectName(QStringLiteral("taggedPages"));
    m_tagged->setAccessibleName(QStringLiteral("Pages with the tag"));
    auto *layout = new QGridLayout(lists);
    layout->setContentsMargins({});
    for (auto [column, list] : {std::pair{0, m_tags}, std::pair{1, m_tagged}}) {
        auto *caption = new QLabel(list->accessibleName(), lists);
        caption->setBuddy(list);
        layout->addWidget(caption, 0, column);
        layout->addWidget(list, 1, column);
    }
    connect(m_tags, &QListWidget::currentRowChanged, this, &GlanceWindow::showTagged);
    // A result opens its page as the search's results do.
    for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated})
        connect(m_tagged, signal, this, [this](QListWidgetItem *item) { m_session.book().openEntry(item->text()); });
    return lists;
}

// Every page's figures, from the text cache: after a save only the saved page is read.
void GlanceWindow::reload()
{
    if (m_session.vault().isLocked())
        return forget();
    m_pages = m_session.tally().pages();
    showYear(m_grid->year(), m_grid->focusedDay());
    showTags();
}

void GlanceWindow::showYear(int year, QDate focused)
{
    m_grid->showYear(year, m_pages, focused);
    m_year->setText(QString::number(year));
    const QDate today = m_session.tally().today();
    m_statistics->showFigures(year, today, diaryfigures::statistics(m_pages, year, today), diaryfigures::statistics(m_pages, std::nullopt, today));
}

// The focused day keeps its month and day; 29 February becomes the 28th.
void GlanceWindow::stepYear(int by)
{
    const QDate focused = m_grid->focusedDay();
    const int year = m_grid->year() + by;
    showYear(year, QDate(year, focused.month(), std::min(focused.day(), QDate(year, focused.month(), 1).daysInMonth())));
}

void GlanceWindow::showTags()
{
    const QString chosen = m_tags->currentItem() ? m_tags->currentItem()->data(Qt::UserRole).toString() : QString();
    const QSignalBlocker quiet(m_tags);
    m_tags->clear();
    for (const auto &[tag, count] : diaryfigures::tagCounts(m_pages)) {
        auto *item = new QListWidgetItem(QStringLiteral("#%1 (%2)").arg(tag).arg(count), m_tags);
        item->setData(Qt::UserRole, tag);
        if (tag == chosen)
            m_tags->setCurrentItem(item);
    }
    showTagged();
}

void GlanceWindow::showTagged()
{
    m_tagged->clear();
    if (!m_tags->currentItem())
        return;
    QHash<QDate, QString> firstLines;
    for (const diaryfigures::Page &page : m_pages)
        firstLines.insert(page.day, page.firstLine);
    for (const QDate day : diaryfigures::daysTagged(m_pages, m_tags->currentItem()->data(Qt::UserRole).toString())) {
        auto *item = new QListWidgetItem(daykeys::pageFileName(day), m_tagged);
        item->setToolTip(plainToolTip(firstLines.value(day)));
    }
}

// The widgets let go of their copies first, so that wiping finds the words unshared.
void GlanceWindow::forget()
{
    m_grid->clear();
    m_statistics->clear();
    m_tagged->clear();
    m_tags->clear();
    for (diaryfigures::Page &page : m_pages) {
        wipe(page.firstLine);
        for (QString &tag : page.tags)
            wipe(tag);
    }
    m_pages.clear();
}
