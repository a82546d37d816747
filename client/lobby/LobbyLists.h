#pragma once
// The lobby's two live lists: the table list (every table of the last
// table-list reply, in reply order, rows coloured by custom draw) and the
// player list of the table last clicked. Both are refilled from the
// session values on the lobby's timers, never by the dispatcher.

#include <QObject>
#include <QStyledItemDelegate>
#include <QRgb>

class QKeyEvent;
class QTreeWidget;

namespace tessaly {

struct ClientState;
struct SessionValues;

inline constexpr QRgb kEvenRowColour = qRgb(255, 255, 255);
inline constexpr QRgb kOddRowColour = qRgb(187, 216, 238);
inline constexpr QRgb kSelectedRowColour = qRgb(102, 176, 233);
inline constexpr QRgb kPlayerListBackground = qRgb(245, 245, 245);
inline constexpr QRgb kPlayerListText = qRgb(80, 80, 80);

// White and light blue by turns; a selected row mid blue.
QRgb tableRowColour(int row, bool selected);

// Info tips: a cell whose text does not fit shows it whole as a tool tip.
class ListCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

// The table list's custom draw: black text on the row's own colour, and
// never the style's highlight.
class TableRowDelegate final : public ListCellDelegate {
    Q_OBJECT
public:
    using ListCellDelegate::ListCellDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Columns, colours and delegates.
void setUpTableList(QTreeWidget& list);
void setUpPlayerList(QTreeWidget& list);

// When a complete reply waits for the list that was asked for: rebuilds
// every row from the table records and clears the list-requested flag.
// True when the rows were rebuilt.
bool refillTableList(QTreeWidget& list, ClientState& state);
// When a new player list has arrived: one row per entry, the first on top,
// and the flag cleared. True when the rows were rebuilt.
bool refillPlayerList(QTreeWidget& list, SessionValues& session);

// The table list's clicks as the lobby handles them: every left click
// reports the selected row (-1 when it left none selected: a click on empty
// space clears the selection), a double click the selected row, if any.
// From the keyboard: a move with the arrow keys (and Page Up, Page Down,
// Home, End) counts as a click, Return or Space as a double click.
class TableListClicks final : public QObject {
    Q_OBJECT
public:
    explicit TableListClicks(QTreeWidget& list);

signals:
    void clicked(int row);
    void doubleClicked(int row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int selectedRow() const;
    bool keyEvent(QKeyEvent* event);

    QTreeWidget& list_;
    bool releaseOfDoubleClick_ = false;
    bool keyMoving_ = false;
};

} // namespace tessaly
