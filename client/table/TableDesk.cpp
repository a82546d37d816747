#include "client/table/TableDesk.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QUrl>

#include "client/table/PokerRoomWindow.h"
#include "client/table/TablePlacement.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

Box toBox(const QRect& r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

// A table's key in the settings file: its name, escaped so that any
// character may stand in it.
QString geometryKey(const std::string& tableName)
{
    return QStringLiteral("TableWindows/") + QString::fromLatin1(QUrl::toPercentEncoding(toQString(tableName)));
}

FrameMargins marginsOf(const QWidget* window)
{
    if (window == nullptr || !window->isVisible())
        return {};
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

} // namespace

TableDesk::TableDesk(QString geometryFile, InputWatch::Clock clock, QWidget* lobby)
    : QObject(lobby), geometryFile_(std::move(geometryFile)), input_(std::move(clock)), lobby_(lobby)
{
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), lobby);
    next->setContext(Qt::ApplicationShortcut);
    connect(next, &QShortcut::activated, this, &TableDesk::bringNext);
}

void TableDesk::open(dlgPokerRoom& window)
{
    std::erase_if(windows_, [](const QPointer<dlgPokerRoom>& w) { return w.isNull(); });
    QScreen* screen = lobby_ ? lobby_->screen() : QGuiApplication::primaryScreen();
    const Box available = screen != nullptr ? toBox(screen->availableGeometry()) : Box{0, 0, 1024, 768};
    const QSettings settings(geometryFile_, QSettings::IniFormat);
    const QRect saved = settings.value(geometryKey(window.tableName())).toRect();
    if (saved.isValid()) {
        // The frame's corner and the client's size, as the user left them.
        const Box kept = keepOnScreen(toBox(saved), available);
        window.setClientSize(QSize(saved.width(), saved.height()));
        window.move(kept.x, kept.y);
    } else {
        PlacementRequest request{.available = available, .base = window.baseClient(), .margins = marginsOf(lobby_),
                                 .tables = {}, .lobby = std::nullopt, .preferredZoom = 1.0};
        for (const QPointer<dlgPokerRoom>& other : windows_)
            if (other && other != &window && !other->isLeaving())
                request.tables.push_back(toBox(other->frameGeometry()));
        // The lobby's place, even while it is minimised: the user brings it
        // back there.
        if (lobby_ && lobby_->isVisible())
            request.lobby = toBox(lobby_->frameGeometry());
        const Placement placed = placeTable(request);
        const Extent client = zoomedExtent(window.baseClient(), placed.zoom);
        window.setClientSize(QSize(client.width, client.height));
        window.move(placed.frame.x, placed.frame.y);
    }
    windows_.emplace_back(&window);
}

void TableDesk::remember(const dlgPokerRoom& window) const
{
    if (window.isMinimized() || window.isMaximized() || !window.isVisible())
        return;
    QSettings settings(geometryFile_, QSettings::IniFormat);
    settings.setValue(geometryKey(window.tableName()), QRect(window.pos(), window.size()));
}

void TableDesk::closed(const dlgPokerRoom& window)
{
    remember(window);
    queue_.remove(window.tableId());
    std::erase_if(windows_, [&window](const QPointer<dlgPokerRoom>& w) { return w.isNull() || w == &window; });
}

void TableDesk::report(const dlgPokerRoom& window, bool waiting)
{
    const bool wasWaiting = queue_.waits(window.tableId());
    queue_.report(window.tableId(), window.tableName(), waiting, input_.now());
    if (wasWaiting && !waiting && window.isActiveWindow())
        handOver_ = input_.now();
}

std::optional<int> TableDesk::activeTable() const
{
    const QWidget* active = QApplication::activeWindow();
    for (const QPointer<dlgPokerRoom>& w : windows_)
        if (w && w == active)
            return w->tableId();
    return std::nullopt;
}

Forward TableDesk::mayComeForward(const dlgPokerRoom& window) const
{
    const std::optional<int> active = activeTable();
    if (queue_.next(active) != window.tableId())
        return Forward::AskAttention;
    const std::optional<SteadyTime> last = input_.lastInput();
    return comingForward({.now = input_.now(),
                          .lastInputElsewhere = input_.lastInputOutside(&window),
                          .buttonHeld = input_.buttonHeld(),
                          .activeTableWaits = active && queue_.waits(*active),
                          .handedOver = handOver_ && (!last || *last <= *handOver_)});
}

dlgPokerRoom* TableDesk::window(int tableId) const
{
    for (const QPointer<dlgPokerRoom>& w : windows_)
        if (w && w->tableId() == tableId && !w->isLeaving())
            return w.data();
    return nullptr;
}

void TableDesk::bringNext()
{
    if (const std::optional<int> next = queue_.next(activeTable()))
        bring(*next);
}

void TableDesk::bring(int tableId)
{
    if (dlgPokerRoom* w = window(tableId)) {
        w->comeForward();
        w->focusActionBar();
    }
}

} // namespace tessaly
