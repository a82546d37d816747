#pragma once
// What the open table windows share, for a player at several tables at
// once: where a new window opens and where each was left (kept per table
// name in a settings file), the queue of tables waiting for the user, when a
// waiting table may come forward, and the key that brings the next one.
//
//     TableDesk desk(programDirectory + "/tablewindows.ini", steadyClock, lobby);
//     context.desk = &desk;          // every table window opens through it
//
// The windows report to it on their frame steps; the lobby's queue list
// reads it on its own timer.

#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>
#include <vector>

#include "client/table/ActionQueue.h"
#include "client/table/InputWatch.h"

class QWidget;

namespace tessaly {

class dlgPokerRoom;

inline constexpr const char* kTableWindowsFileName = "tablewindows.ini";

class TableDesk : public QObject {
    Q_OBJECT
public:
    // `lobby` owns the next-table key (Ctrl+Tab, anywhere in the client)
    // and is the window new tables keep clear of.
    TableDesk(QString geometryFile, InputWatch::Clock clock, QWidget* lobby);

    // A new table window, before it is shown: where the user last left the
    // table of that name, else the first free place on the screen.
    void open(dlgPokerRoom& window);
    // Keeps where the user has put the window.
    void remember(const dlgPokerRoom& window) const;
    void closed(const dlgPokerRoom& window);

    // The window's frame step: whether its table waits for the user.
    void report(const dlgPokerRoom& window, bool waiting);
    // Whether the waiting table may come forward now, by the idle rule; only
    // the oldest waiting table comes forward.
    Forward mayComeForward(const dlgPokerRoom& window) const;
    // The window came forward by itself: a hand-over is used up.
    void cameForward() { handOver_.reset(); }

    // The next waiting table forward, with the focus on its action bar.
    void bringNext();
    void bring(int tableId);

    const ActionQueue& queue() const { return queue_; }
    InputWatch& input() { return input_; }

private:
    dlgPokerRoom* window(int tableId) const;
    std::optional<int> activeTable() const;

    QString geometryFile_;
    InputWatch input_;
    QPointer<QWidget> lobby_;
    std::vector<QPointer<dlgPokerRoom>> windows_;
    ActionQueue queue_;
    // When the user acted at the table in front, which then left the queue.
    std::optional<SteadyTime> handOver_;
};

} // namespace tessaly
