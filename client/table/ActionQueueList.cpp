#include "client/table/ActionQueueList.h"

#include <QTimerEvent>
#include <QTreeWidget>

#include "client/table/TableDesk.h"
#include "platform/sys/QtText.h"

namespace tessaly {

ActionQueueList::ActionQueueList(QTreeWidget& list, TableDesk& desk, QObject* parent)
    : QObject(parent), list_(list), desk_(desk)
{
    list_.setColumnCount(1);
    list_.setHeaderHidden(true);
    list_.setFocusPolicy(Qt::StrongFocus);
    list_.setAccessibleName(QString::fromLatin1(kActionQueueName));
    list_.setAccessibleDescription(QStringLiteral("Oldest first, with the seconds left to act; Enter or Ctrl+Tab "
                                                  "brings the table forward"));
    connect(&list_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { desk_.bring(item->data(0, Qt::UserRole).toInt()); });
    timer_.start(kPeriodMs, this);
}

void ActionQueueList::refresh()
{
    const std::vector<WaitingTable>& waiting = desk_.queue().waiting();
    const SteadyTime now = desk_.input().now();
    // Lines that read the same are left alone: the selection stays put.
    const int keep = list_.topLevelItemCount();
    for (int i = static_cast<int>(waiting.size()); i < keep; ++i)
        delete list_.takeTopLevelItem(static_cast<int>(waiting.size()));
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        const QString line = toQString(queueLine(waiting[i], now));
        QTreeWidgetItem* item = list_.topLevelItem(static_cast<int>(i));
        if (item == nullptr)
            item = new QTreeWidgetItem(&list_);
        if (item->text(0) != line)
            item->setText(0, line);
        item->setData(0, Qt::UserRole, waiting[i].tableId);
    }
}

void ActionQueueList::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_.timerId())
        refresh();
    else
        QObject::timerEvent(event);
}

} // namespace tessaly
