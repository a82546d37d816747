#pragma once
// dlgMonitor (dialog 102), the only window of Linkscope: the reference
// servers with their addresses and live ratings above, the route to the
// selected server hop by hop below.
//
// The window owns the servers and the two kinds of worker. The ping worker
// runs from the opening to the end; a trace worker runs for the selected
// server and is replaced on every click on the server list. Workers write
// their cells as queued calls to the window's thread; a route call whose
// trace number is not the current one is dropped, so a stopped trace never
// writes into the emptied list, and calls still queued when the window is
// destroyed die with it.

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

#include "netmon/MonitorServices.h"
#include "netmon/ReferenceServer.h"
#include "platform/gui/DialogWindow.h"

class QLabel;
class QTreeWidget;

namespace tessaly::netmon {

enum MonitorControl { kServerList = 1001, kRouteList = 1002, kRouteCaption = 1003, kRouteVerdict = 1004 };

extern const DialogTemplate kMonitorDialog;

// Column widths in pixels: the width number times the horizontal dialog
// base unit, divided by 10 in integers.
int monitorColumnWidth(int widthNumber, ScreenScale scale);

class dlgMonitor : public DialogWindow {
    Q_OBJECT
public:
    // `servers` are resolved already (resolveAll); the workers start here.
    dlgMonitor(std::vector<ReferenceServer> servers, MonitorServices services, QWidget* parent = nullptr);
    dlgMonitor(std::vector<ReferenceServer> servers, MonitorServices services, ScreenScale scale,
               QWidget* parent = nullptr);
    ~dlgMonitor() override;

    // OK, Esc and the close box: both workers stop before the window goes.
    void done(int result) override;

    QTreeWidget* serverList() const;
    QTreeWidget* routeList() const;
    QLabel* routeCaption() const;
    // The line under the route list: the verdict on the route.
    QLabel* routeVerdict() const;

protected:
    // The lists grow with the window; the lines and OK follow its edges.
    void resizeEvent(QResizeEvent* event) override;

private:
    class WindowSink;
    struct RunningTrace;

    void buildLists();
    void startPing();
    // The click on the server list: the route list empties, the old trace
    // stops, a new one starts when the server has an address.
    void selectServer(int row);
    void stopWorkers();

    void applyServerCell(int row, int column, const QString& text);
    void applyRouteRow(std::uint64_t trace, int row, const QString& hops, const QString& address);
    void applyRouteCell(std::uint64_t trace, int row, int column, const QString& text);
    void applyRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts);
    void applyRemoveRouteRows(std::uint64_t trace, int row);
    void applyRouteVerdict(std::uint64_t trace, const QString& text);

    std::vector<ReferenceServer> servers_;
    MonitorServices services_;
    std::unique_ptr<WindowSink> sink_;
    QSize builtSize_;
    std::uint64_t currentTrace_ = 0;
    int selected_ = 0;
    struct RunningPing;
    std::unique_ptr<RunningPing> ping_;
    std::unique_ptr<RunningTrace> trace_;
    // Stopped traces whose threads may still be finishing a name lookup.
    std::vector<std::unique_ptr<RunningTrace>> retired_;
};

} // namespace tessaly::netmon
