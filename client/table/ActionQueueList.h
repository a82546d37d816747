#pragma once
// The lobby's list of the tables waiting for the user's action, oldest
// first, each with the seconds it has left. It reads the desk's queue on
// its own timer; Enter or a double click on a line brings that table
// forward with the focus on its action bar.

#include <QBasicTimer>
#include <QObject>

class QTreeWidget;

namespace tessaly {

class TableDesk;

inline constexpr const char* kActionQueueName = "Tables waiting for you";

class ActionQueueList : public QObject {
    Q_OBJECT
public:
    static constexpr int kPeriodMs = 500;

    // Fills `list` (a list view without columns) from now on.
    ActionQueueList(QTreeWidget& list, TableDesk& desk, QObject* parent = nullptr);

    // One tick: the lines again, when the queue or a time left changed.
    void refresh();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    QTreeWidget& list_;
    TableDesk& desk_;
    QBasicTimer timer_;
};

} // namespace tessaly
