#include "client/lobby/AboutDialog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "client/lobby/LobbyTexts.h"
#include "client/net/ClientVersion.h"
#include "client/table/ClientState.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

constexpr int kAboutPictureBitmap = 208;
constexpr int kVersionText = 1107;
constexpr int kServerTimeText = 1109;

// 316 units are the picture's 454 pixels with 10 pixels either side; the
// texts start below its 290 pixels.
const DialogTemplate kAboutTemplate{
    .resource = 100,
    .caption = "  About Tessaly Online Poker Room",
    .width = 316,
    .height = 258,
    .font = {"MS Shell Dlg", 8},
    .controls = {
        {.kind = ControlKind::Static, .rect = {7, 197, 302, 8},
         .text = "Tessaly Online Poker Room: every game is played for play money, never for real money."},
        {.kind = ControlKind::Static, .rect = {7, 208, 302, 8},
         .text = "Copyright (C) Tessaly Gaming Network. All rights reserved."},
        {.kind = ControlKind::Static, .rect = {7, 225, 54, 8}, .text = "Client Version:"},
        {.id = kVersionText, .kind = ControlKind::Static, .rect = {62, 225, 120, 8}},
        {.kind = ControlKind::Static, .rect = {7, 237, 54, 8}, .text = "Server Time:"},
        {.id = kServerTimeText, .kind = ControlKind::Static, .rect = {62, 237, 170, 8}},
        {.id = 1, .kind = ControlKind::PushButton, .rect = {252, 232, 57, 15}, .text = "OK",
         .flags = ctl::DefaultButton},
    }};

} // namespace

// The frame has its size whatever the bitmap's; what the bitmap does not
// cover stays black.
AboutPicture::AboutPicture(QWidget* parent)
    : QWidget(parent), source_(bitmapImage(kAboutPictureBitmap), kWidth, kHeight), frame_(source_)
{
    water_.create(kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void AboutPicture::animate()
{
    water_.step(source_.pixels(), frame_.pixels());
    repaint();
}

void AboutPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    frame_.draw(painter, 0, 0);
}

void AboutPicture::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == timer_.timerId())
        animate();
    else
        QWidget::timerEvent(event);
}

// The pixel array's rows run from the top here, so the pointer's row is the
// row of the surface as it is.
void AboutPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (rect().contains(at))
        water_.drop(at.x(), at.y(), kTrailRadius, kTrailDepth, water_.page());
}

void AboutPicture::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && rect().contains(at))
        water_.drop(at.x(), at.y(), kClickRadius, kClickDepth, water_.page());
}

void AboutPicture::showEvent(QShowEvent* event)
{
    timer_.start(kAnimationPeriodMs, this);
    QWidget::showEvent(event);
}

void AboutPicture::hideEvent(QHideEvent* event)
{
    timer_.stop();
    QWidget::hideEvent(event);
}

dlgAbout::dlgAbout(const ClientState& state, QWidget* parent)
    : DialogWindow(kAboutTemplate, skinDialogBuilder(), parent), picture_(new AboutPicture(this))
{
    picture_->move(clientRect().topLeft() + QPoint(AboutPicture::kLeft, AboutPicture::kTop));
    staticText(kVersionText)->setText(QString::fromStdString(aboutVersionText(kClientVersion)));
    const std::string& serverTime = state.session.serverTimeText.str();
    staticText(kServerTimeText)->setText(toQString(serverTime));
}

} // namespace tessaly
