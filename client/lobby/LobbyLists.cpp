#include "client/lobby/LobbyLists.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>
#include <string>

#include "client/lobby/LobbyTexts.h"
#include "client/table/ClientState.h"
#include "client/table/TableTexts.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

struct Column {
    const char* title;
    int width;
    Qt::Alignment alignment;
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

constexpr Column kTableColumns[] = {
    {"Table Name", 130, kLeft}, {"Game Type", 90, kCentre}, {"Stakes", 100, kCentre},
    {"Players", 70, kCentre},   {"Seats", 70, kCentre},     {"Average Pot", 80, kCentre},
};
constexpr Column kPlayerColumns[] = {{"#", 20, kLeft}, {"Name", 85, kLeft}, {"$", 70, kLeft}};

template <std::size_t N>
void setColumns(QTreeWidget& list, const Column (&columns)[N])
{
    list.setColumnCount(static_cast<int>(N));
    QTreeWidgetItem* header = list.headerItem();
    for (int c = 0; c < static_cast<int>(N); ++c) {
        header->setText(c, QString::fromLatin1(columns[c].title));
        header->setTextAlignment(c, columns[c].alignment);
        list.header()->resizeSection(c, columns[c].width);
    }
    list.header()->setSectionResizeMode(QHeaderView::Interactive);
}

void setColours(QTreeWidget& list, const std::initializer_list<std::pair<QPalette::ColorRole, QColor>>& colours)
{
    QPalette palette = list.palette();
    for (const auto& [role, colour] : colours)
        palette.setColor(role, colour);
    list.setPalette(palette);
}

template <std::size_t N>
void addRow(QTreeWidget& list, const Column (&columns)[N], const std::string (&texts)[N])
{
    auto* item = new QTreeWidgetItem;
    for (int c = 0; c < static_cast<int>(N); ++c) {
        item->setText(c, toQString(texts[c]));
        item->setTextAlignment(c, columns[c].alignment);
        // A screen reader reads each cell with its column's name.
        item->setData(c, Qt::AccessibleTextRole, QString::fromLatin1(columns[c].title) + QStringLiteral(": ") +
                                                    toQString(texts[c]));
    }
    list.addTopLevelItem(item);
}

} // namespace

QRgb tableRowColour(int row, bool selected)
{
    if (selected)
        return kSelectedRowColour;
    return row % 2 == 0 ? kEvenRowColour : kOddRowColour;
}

bool ListCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                 const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    // The style leaves a margin of its focus frame and one pixel on each side.
    const int margin = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
    if (option.fontMetrics.horizontalAdvance(text) > option.rect.width() - margin)
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}

void TableRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    const QColor colour = QColor::fromRgb(tableRowColour(index.row(), cell.state & QStyle::State_Selected));
    cell.state &= ~QStyle::State_Selected;
    cell.backgroundBrush = colour;
    cell.palette.setColor(QPalette::Text, Qt::black);
    painter->fillRect(cell.rect, colour);
    const QWidget* widget = cell.widget;
    QStyle* style = widget != nullptr ? widget->style() : nullptr;
    if (style != nullptr)
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
}

void setUpTableList(QTreeWidget& list)
{
    setColumns(list, kTableColumns);
    list.setItemDelegate(new TableRowDelegate(&list));
    // Where the style paints a row panel of its own behind the cells, it is
    // in the row's colours too.
    setColours(list, {{QPalette::Base, QColor::fromRgb(kEvenRowColour)},
                      {QPalette::Highlight, QColor::fromRgb(kSelectedRowColour)},
                      {QPalette::HighlightedText, Qt::black}});
}

void setUpPlayerList(QTreeWidget& list)
{
    setColumns(list, kPlayerColumns);
    list.setItemDelegate(new ListCellDelegate(&list));
    setColours(list, {{QPalette::Base, QColor::fromRgb(kPlayerListBackground)},
                      {QPalette::Text, QColor::fromRgb(kPlayerListText)}});
}

bool refillTableList(QTreeWidget& list, ClientState& state)
{
    SessionValues& session = state.session;
    if (session.tableListRequested == 0 || session.tableListComplete == 0)
        return false;
    list.clear();
    const int count = std::clamp(session.tableCount, 0, kTableCount);
    for (int i = 0; i < count; ++i) {
        const TableState& t = state.tables[static_cast<std::size_t>(i)];
        const std::string texts[] = {t.tableName.str(),
                                     gameTypeText(t.gameType),
                                     t.stakesText.str(),
                                     std::to_string(t.playersSeated),
                                     std::to_string(t.seatCount),
                                     std::to_string(t.averagePot)};
        addRow(list, kTableColumns, texts);
    }
    session.tableListRequested = 0;
    return true;
}

bool refillPlayerList(QTreeWidget& list, SessionValues& session)
{
    if (session.playerListReady == 0)
        return false;
    list.clear();
    const int count = std::clamp(session.playerListCount, 0, kMaxPlayerListEntries);
    for (int i = 0; i < count; ++i) {
        const PlayerListEntry& e = session.playerList[static_cast<std::size_t>(i)];
        const std::string texts[] = {e.number.str(), e.name.str(), e.amount.str()};
        addRow(list, kPlayerColumns, texts);
    }
    session.playerListReady = 0;
    return true;
}

TableListClicks::TableListClicks(QTreeWidget& list) : QObject(&list), list_(list)
{
    list.viewport()->installEventFilter(this);
    list.installEventFilter(this);
    // The arrow keys select as a click does.
    connect(&list, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (!keyMoving_)
            return;
        keyMoving_ = false;
        emit clicked(selectedRow());
    });
}

int TableListClicks::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = list_.selectedItems();
    return selected.isEmpty() ? -1 : list_.indexOfTopLevelItem(selected.first());
}

bool TableListClicks::keyEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        // The row the focus is on, which a screen reader has just read: the
        // focus coming into the list puts it on the first row without
        // selecting it, and with a single table no arrow key moves it.
        if (event->type() == QEvent::KeyPress) {
            QTreeWidgetItem* current = list_.currentItem();
            const int row = current != nullptr ? list_.indexOfTopLevelItem(current) : selectedRow();
            if (row >= 0)
                emit doubleClicked(row);
        }
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        keyMoving_ = event->type() == QEvent::KeyPress;
        return false;
    default: return false;
    }
}

bool TableListClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &list_) {
        const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
        return key && keyEvent(static_cast<QKeyEvent*>(event));
    }
    const auto leftButton = [event] { return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton; };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (!leftButton())
            break;
        releaseOfDoubleClick_ = false;
        // The view keeps its selection on a click beside the rows; the
        // lobby's list does not.
        if (list_.itemAt(static_cast<QMouseEvent*>(event)->position().toPoint()) == nullptr)
            list_.clearSelection();
        break;
    case QEvent::MouseButtonDblClick:
        if (leftButton()) {
            releaseOfDoubleClick_ = true;
            // The row under the pointer, not the selection: a table list
            // rebuilt since the first click has none.
            QTreeWidgetItem* item = list_.itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (item != nullptr)
                emit doubleClicked(list_.indexOfTopLevelItem(item));
        }
        break;
    case QEvent::MouseButtonRelease:
        if (leftButton()) {
            if (releaseOfDoubleClick_)
                releaseOfDoubleClick_ = false;
            else
                emit clicked(selectedRow());
        }
        break;
    default: break;
    }
    return false;
}

} // namespace tessaly
