#include "ui/valueholder.h"

#include <QStringList>

#include <gtest/gtest.h>

TEST(ValueHolder, NotifiesOnlyWhenTheTextChanges)
{
    ValueHolder holder(QStringLiteral("2026-12-04"));
    QStringList seen;
    holder.setHandler([&] { seen.append(holder.text()); });

    holder.set(QStringLiteral("2026-12-04"));
    holder.set(QString());
    holder.set(QString());
    holder.set(QStringLiteral("2026-12-04"));
    EXPECT_EQ(seen, (QStringList{QString(), QStringLiteral("2026-12-04")}));
}

TEST(ValueHolder, ChainedHoldersRunNestedInsideTheSet)
{
    ValueHolder day;
    ValueHolder page;
    QStringList order;
    day.setHandler([&] {
        order.append(QStringLiteral("day ") + day.text());
        page.set(QStringLiteral("3"));
        order.append(QStringLiteral("day done"));
    });
    page.setHandler([&] { order.append(QStringLiteral("page ") + page.text()); });

    day.set(QStringLiteral("2026-12-04"));
    order.append(QStringLiteral("set returned"));
    EXPECT_EQ(order, (QStringList{QStringLiteral("day 2026-12-04"), QStringLiteral("page 3"),
                                  QStringLiteral("day done"), QStringLiteral("set returned")}));
}

TEST(ValueHolder, ASetFromItsOwnHandlerRunsNestedAndTheLatestTextWins)
{
    ValueHolder holder;
    QStringList order;
    holder.setHandler([&] {
        const QString seen = holder.text();
        order.append(QStringLiteral("enter ") + seen);
        if (seen == u"0")
            holder.set(QStringLiteral("5"));
        holder.set(holder.text());
        order.append(QStringLiteral("leave ") + seen + QStringLiteral(" holding ") + holder.text());
    });

    holder.set(QStringLiteral("0"));
    EXPECT_EQ(order, (QStringList{QStringLiteral("enter 0"), QStringLiteral("enter 5"),
                                  QStringLiteral("leave 5 holding 5"), QStringLiteral("leave 0 holding 5")}));
    EXPECT_EQ(holder.text(), u"5");
}

TEST(ValueHolder, AHandlerMayReplaceItselfWhileRunning)
{
    ValueHolder holder;
    int first = 0;
    int second = 0;
    holder.setHandler([&] {
        ++first;
        holder.setHandler([&] { ++second; });
    });
    holder.set(QStringLiteral("a"));
    holder.set(QStringLiteral("b"));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}
