#pragma once

#include <QListWidget>

// Choosing an adapter row the way a user would; false when this machine has no such row.

inline bool selectLoopbackRow(QListWidget *adapters)
{
    const QList<QListWidgetItem *> found = adapters->findItems(QStringLiteral("(lo)"), Qt::MatchEndsWith);
    if (found.isEmpty())
        return false;
    adapters->setCurrentItem(found.first());
    return true;
}

inline bool selectFirstRow(QListWidget *adapters)
{
    adapters->setCurrentRow(0);
    return adapters->currentRow() == 0;
}
