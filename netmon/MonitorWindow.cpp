#include "netmon/MonitorWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <atomic>
#include <thread>

#include "netmon/MonitorTables.h"
#include "netmon/PingWorker.h"
#include "netmon/TraceWorker.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"

namespace tessaly::netmon {

const DialogTemplate kMonitorDialog{
    .resource = 102,
    .caption = "Tessaly Network Monitor",
    // Wide enough for the hops' figures beside the route's own columns, and
    // a line under the route list for the verdict.
    .width = 600,
    .height = 236,
    .font = {"MS Shell Dlg", 8},
    .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::Resizable,
    .controls = {
        {.id = kServerList, .kind = ControlKind::ListView, .rect = {7, 5, 586, 95},
         .flags = ctl::SingleSelection | ctl::NoHeaderClick},
        {.id = kRouteCaption, .kind = ControlKind::Static, .rect = {7, 106, 586, 8},
         .text = "Network data routing for selected server:"},
        {.id = kRouteList, .kind = ControlKind::ListView, .rect = {7, 115, 586, 80}, .flags = ctl::NoHeaderClick},
        {.id = kRouteVerdict, .kind = ControlKind::Static, .rect = {7, 199, 586, 8}},
        {.id = 1, .kind = ControlKind::PushButton, .rect = {275, 213, 50, 16}, .text = "OK",
         .flags = ctl::DefaultButton},
    }};

namespace {

struct Column {
    const char* heading;
    int width;
};

constexpr Column kServerColumnsSpec[kServerColumns] = {{"Server", 190}, {"Connection", 125}, {"IP", 125},
                                                       {"N", 50},       {"Lost", 50},        {"Min", 50},
                                                       {"Avg", 50},     {"Max", 50}};
constexpr Column kRouteColumnsSpec[kRouteColumns] = {
    {"Hops", 75}, {"IP", 150},  {"Address", 275}, {"Ping", 150}, {"Snt", 45},   {"Lost", 45},      {"Loss%", 60},
    {"Last", 50}, {"Avg", 50},  {"Best", 50},     {"Wrst", 50},  {"StDev", 55}, {"Verdict", 340},
};

QString verdictLine(const QString& verdict)
{
    return verdict.isEmpty() ? QString() : QStringLiteral("Verdict: ") + verdict;
}

template <std::size_t N>
void setColumns(QTreeWidget& list, const Column (&columns)[N], ScreenScale scale)
{
    list.setColumnCount(static_cast<int>(N));
    QStringList headings;
    for (const Column& c : columns)
        headings << QString::fromLatin1(c.heading);
    list.setHeaderLabels(headings);
    for (std::size_t c = 0; c < N; ++c)
        list.header()->resizeSection(static_cast<int>(c), monitorColumnWidth(columns[c].width, scale));
}

} // namespace

int monitorColumnWidth(int widthNumber, ScreenScale scale)
{
    return widthNumber * systemBaseUnitX(scale.x) / 10;
}

// Hands every write of a worker to the window's thread. The window is the
// calls' context: what is still queued when it is destroyed is discarded.
class dlgMonitor::WindowSink final : public MonitorSink {
public:
    explicit WindowSink(dlgMonitor& window) : window_(window) {}

    void setServerCell(int row, int column, const std::string& text) override
    {
        post([w = &window_, row, column, t = toQString(text)] { w->applyServerCell(row, column, t); });
    }
    void appendRouteRow(std::uint64_t trace, int row, const std::string& hops, const std::string& address) override
    {
        post([w = &window_, trace, row, h = toQString(hops), a = toQString(address)] {
            w->applyRouteRow(trace, row, h, a);
        });
    }
    void setRouteCell(std::uint64_t trace, int row, int column, const std::string& text) override
    {
        post([w = &window_, trace, row, column, t = toQString(text)] { w->applyRouteCell(trace, row, column, t); });
    }
    void setRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts) override
    {
        post([w = &window_, trace, row, texts] { w->applyRouteFigures(trace, row, texts); });
    }
    void removeRouteRows(std::uint64_t trace, int row) override
    {
        post([w = &window_, trace, row] { w->applyRemoveRouteRows(trace, row); });
    }
    void setRouteVerdict(std::uint64_t trace, const std::string& text) override
    {
        post([w = &window_, trace, t = toQString(text)] { w->applyRouteVerdict(trace, t); });
    }

private:
    template <class Call>
    void post(Call&& call)
    {
        QMetaObject::invokeMethod(&window_, std::forward<Call>(call), Qt::QueuedConnection);
    }
    dlgMonitor& window_;
};

struct dlgMonitor::RunningPing {
    std::unique_ptr<EchoPort> port;
    std::unique_ptr<PingWorker> worker;
    std::jthread thread;   // declared last: stopped and joined first
};

struct dlgMonitor::RunningTrace {
    std::unique_ptr<EchoPort> port;
    std::unique_ptr<TraceWorker> worker;
    std::atomic<bool> finished{false};
    std::jthread thread;
};

dlgMonitor::dlgMonitor(std::vector<ReferenceServer> servers, MonitorServices services, QWidget* parent)
    : dlgMonitor(std::move(servers), std::move(services), screenScale(), parent)
{
}

dlgMonitor::dlgMonitor(std::vector<ReferenceServer> servers, MonitorServices services, ScreenScale scale,
                       QWidget* parent)
    : DialogWindow(kMonitorDialog, DialogBuilder(), scale, parent), servers_(std::move(servers)),
      services_(std::move(services)), sink_(std::make_unique<WindowSink>(*this))
{
    buildLists();
    connect(serverList(), &QTreeWidget::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            selectServer(index.row());
    });
    startPing();
    if (!serverList()->topLevelItemCount())
        return;
    serverList()->setCurrentItem(serverList()->topLevelItem(0));
    if (ping_)
        selectServer(0);
}

void dlgMonitor::resizeEvent(QResizeEvent* event)
{
    DialogWindow::resizeEvent(event);
    // From the built layout: the lists and lines grow to the right, the
    // route list also down; the verdict line and OK keep their distance to
    // the bottom, OK stays centred.
    const QSize grown = size() - clientRect().size();
    for (const ControlTemplate& c : kMonitorDialog.controls) {
        QWidget* widget = control(c.id);
        if (widget == nullptr)
            continue;
        QRect r = toPixels(c.rect);
        if (c.id == 1) {
            r.translate(grown.width() / 2, grown.height());
        } else {
            r.setWidth(r.width() + grown.width());
            if (c.id == kRouteList)
                r.setHeight(r.height() + grown.height());
            if (c.id == kRouteVerdict)
                r.translate(0, grown.height());
        }
        widget->setGeometry(r);
    }
}

dlgMonitor::~dlgMonitor()
{
    stopWorkers();
}

QTreeWidget* dlgMonitor::serverList() const
{
    return listView(kServerList);
}

QTreeWidget* dlgMonitor::routeList() const
{
    return listView(kRouteList);
}

QLabel* dlgMonitor::routeCaption() const
{
    return staticText(kRouteCaption);
}

QLabel* dlgMonitor::routeVerdict() const
{
    return staticText(kRouteVerdict);
}

void dlgMonitor::buildLists()
{
    QTreeWidget& servers = *serverList();
    servers.setAccessibleName(QStringLiteral("Servers"));
    setColumns(servers, kServerColumnsSpec, scale());
    for (const ReferenceServer& server : servers_) {
        const ServerRow texts = openingServerRow(server);
        auto* item = new QTreeWidgetItem(&servers);
        for (int c = 0; c < kServerColumns; ++c)
            item->setText(c, toQString(texts[static_cast<std::size_t>(c)]));
    }
    QTreeWidget& route = *routeList();
    route.setAccessibleName(QStringLiteral("Route"));
    setColumns(route, kRouteColumnsSpec, scale());
    routeVerdict()->setAccessibleName(QStringLiteral("Route verdict"));
    routeVerdict()->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // No smaller than the route's own columns need.
    setMinimumSize(toPixels(UnitRect{0, 0, 399, 236}).size());
    button(1)->setAccessibleName(QStringLiteral("OK"));
}

void dlgMonitor::startPing()
{
    int error = 0;
    std::unique_ptr<EchoPort> port = services_.openPort(error);
    if (!port) {
        // Without an ICMP socket nothing can be measured: one line says why.
        routeCaption()->setText(QString::fromLatin1(kIcmpRefusedText));
        routeVerdict()->setText(toQString(icmpAllowText(services_.program)));
        return;
    }
    ping_ = std::make_unique<RunningPing>();
    ping_->port = std::move(port);
    ping_->worker = std::make_unique<PingWorker>(servers_, *ping_->port, services_.clock, *sink_, services_.debug);
    ping_->thread = std::jthread([worker = ping_->worker.get()](std::stop_token stop) { worker->run(stop); });
}

void dlgMonitor::selectServer(int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= servers_.size())
        return;
    selected_ = row;
    routeList()->clear();
    routeVerdict()->clear();
    ++currentTrace_;
    if (trace_) {
        trace_->thread.request_stop();
        retired_.push_back(std::move(trace_));
    }
    std::erase_if(retired_, [](const std::unique_ptr<RunningTrace>& t) { return t->finished.load(); });

    const ReferenceServer& server = servers_[static_cast<std::size_t>(row)];
    if (!ping_ || !server.resolved)
        return;
    int error = 0;
    std::unique_ptr<EchoPort> port = services_.openPort(error);
    if (!port)
        return;
    trace_ = std::make_unique<RunningTrace>();
    trace_->port = std::move(port);
    trace_->worker = std::make_unique<TraceWorker>(currentTrace_, server.address, *trace_->port, services_.clock,
                                                   services_.names, *sink_, services_.debug);
    trace_->thread = std::jthread([trace = trace_.get()](std::stop_token stop) {
        trace->worker->run(stop);
        trace->finished = true;
    });
}

void dlgMonitor::stopWorkers()
{
    if (ping_)
        ping_->thread.request_stop();
    if (trace_)
        trace_->thread.request_stop();
    ping_.reset();
    trace_.reset();
    retired_.clear();
    ++currentTrace_;
}

void dlgMonitor::done(int result)
{
    stopWorkers();
    DialogWindow::done(result);
}

void dlgMonitor::applyServerCell(int row, int column, const QString& text)
{
    if (QTreeWidgetItem* item = serverList()->topLevelItem(row))
        item->setText(column, text);
}

void dlgMonitor::applyRouteRow(std::uint64_t trace, int row, const QString& hops, const QString& address)
{
    QTreeWidget& route = *routeList();
    if (trace != currentTrace_ || row != route.topLevelItemCount())
        return;
    auto* item = new QTreeWidgetItem(&route);
    item->setText(kHops, hops);
    item->setText(kHopAddress, address);
    route.scrollToItem(item);
}

void dlgMonitor::applyRouteCell(std::uint64_t trace, int row, int column, const QString& text)
{
    if (trace != currentTrace_)
        return;
    if (QTreeWidgetItem* item = routeList()->topLevelItem(row))
        item->setText(column, text);
}

void dlgMonitor::applyRouteFigures(std::uint64_t trace, int row, const FigureTexts& texts)
{
    if (trace != currentTrace_)
        return;
    if (QTreeWidgetItem* item = routeList()->topLevelItem(row))
        for (int c = 0; c < kFigureColumns; ++c)
            item->setText(kHopSent + c, toQString(texts[static_cast<std::size_t>(c)]));
}

void dlgMonitor::applyRemoveRouteRows(std::uint64_t trace, int row)
{
    QTreeWidget& route = *routeList();
    if (trace != currentTrace_)
        return;
    while (route.topLevelItemCount() > row && row >= 0)
        delete route.takeTopLevelItem(route.topLevelItemCount() - 1);
}

void dlgMonitor::applyRouteVerdict(std::uint64_t trace, const QString& text)
{
    if (trace == currentTrace_)
        routeVerdict()->setText(verdictLine(text));
}

} // namespace tessaly::netmon
