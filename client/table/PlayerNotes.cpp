#include "client/table/PlayerNotes.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QToolButton>

#include "client/table/NotesFileName.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

constexpr int kPinStrip = 24;   // pixels right of the notes box, for the pin

const DialogTemplate kNotesTemplate{
    .resource = 198,
    .caption = "Notepad",
    .width = 220,
    .height = 160,
    .flags = dlg::SystemMenu | dlg::Resizable,
    .controls = {
        {.id = PlayerNotesWindow::kNotesBox, .kind = ControlKind::Edit, .rect = {0, 0, 204, 160},
         .flags = ctl::MultiLine | ctl::VScroll},
    }};

} // namespace

PlayerNotes::~PlayerNotes()
{
    for (auto& [name, window] : windows_) {
        if (window) {
            window->save();
            delete window.data();
        }
    }
}

PlayerNotesWindow* PlayerNotes::find(const std::string& name) const
{
    const auto found = windows_.find(name);
    return found == windows_.end() ? nullptr : found->second.data();
}

PlayerNotesWindow* PlayerNotes::open(const std::string& name)
{
    PlayerNotesWindow* window = find(name);
    if (window == nullptr) {
        // No parent: the notes stay when the table window that asked goes.
        window = new PlayerNotesWindow(*this, name, onTopByDefault);
        windows_[name] = window;
    }
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void PlayerNotes::forget(const std::string& name) { windows_.erase(name); }

void PlayerNotes::restackOnTop(const PlayerNotesWindow* except)
{
    for (auto& [name, window] : windows_) {
        if (window && window != except && window->keepsOnTop())
            window->raise();
    }
}

PlayerNotesWindow::PlayerNotesWindow(PlayerNotes& registry, std::string name, bool onTop)
    : DialogWindow(kNotesTemplate, skinDialogBuilder()), registry_(registry), name_(std::move(name)),
      pin_(new QToolButton(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(toQString(name_ + "'s notes"));
    QPlainTextEdit* box = notesBox();
    box->setAccessibleName(toQString("Notes on " + name_));
    pin_->setAutoRaise(true);
    pin_->setIconSize(QSize(16, 16));
    pin_->setAccessibleName(QStringLiteral("Keep on top"));
    pin_->setToolTip(QStringLiteral("Keep on top"));
    pin_->setCursor(Qt::PointingHandCursor);
    connect(pin_, &QToolButton::clicked, this, [this] { setKeepOnTop(!onTop_); });
    load();
    layOut();
    onTop_ = onTop;
    applyKeepOnTop();
    box->setFocus();
}

QPlainTextEdit* PlayerNotesWindow::notesBox() const { return multiLineEdit(kNotesBox); }

void PlayerNotesWindow::load()
{
    QFile file(toQString(notesPath(name_)));
    if (!file.open(QIODevice::ReadOnly))
        return;
    notesBox()->setPlainText(QString::fromUtf8(file.readAll()));
    notesBox()->document()->setModified(false);
    trace("Opened notes for %s\r\n", name_.c_str());
}

bool PlayerNotesWindow::save()
{
    const std::string path = notesPath(name_);
    const QString file = toQString(path);
    QSaveFile out(file);
    const bool written = QDir().mkpath(QFileInfo(file).path()) && out.open(QIODevice::WriteOnly) &&
                         out.write(notesBox()->toPlainText().toUtf8()) >= 0 && out.commit();
    if (!written) {
        BoxRequest box{"Could not save file " + path, "Error"};
        box.icon = BoxIcon::Exclamation;
        box.owner = this;
        registry_.boxes_.show(box);
        return false;
    }
    notesBox()->document()->setModified(false);
    trace("Saved notes for %s\r\n", name_.c_str());
    return true;
}

void PlayerNotesWindow::applyKeepOnTop()
{
    pin_->setIcon(iconResource(onTop_ ? kOnTopIcon : kNotTopIcon));
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop_);
    // Changing a window's flags hides it.
    if (visible)
        show();
}

void PlayerNotesWindow::setKeepOnTop(bool on)
{
    if (on == onTop_)
        return;
    onTop_ = on;
    applyKeepOnTop();
    if (!on) {
        registry_.restackOnTop(this);
        activateWindow();
    }
}

void PlayerNotesWindow::closeEvent(QCloseEvent* event)
{
    // What was not written stays on screen while the user has typed it.
    if (!name_.empty() && !save() && notesBox()->document()->isModified()) {
        event->ignore();
        return;
    }
    registry_.forget(name_);
    name_.clear();
    event->accept();
}

void PlayerNotesWindow::reject() { close(); }

void PlayerNotesWindow::resizeEvent(QResizeEvent* event)
{
    DialogWindow::resizeEvent(event);
    layOut();
}

void PlayerNotesWindow::layOut()
{
    const QRect client = rect();
    notesBox()->setGeometry(client.adjusted(0, 0, -kPinStrip, 0));
    pin_->setGeometry(client.right() + 1 - kPinStrip, 2, kPinStrip - 2, kPinStrip - 2);
}

} // namespace tessaly
