#pragma once
// Builds the widgets of a DialogTemplate on a window and keeps them by id.
//
//     class LoginWindow : public DialogWindow {       // QDialog + ControlMap
//     public:
//         LoginWindow() : DialogWindow(kLogin, skinDialogBuilder()) {
//             connect(button(1003), &QPushButton::clicked, this, &LoginWindow::submit);
//             edit(1012)->setFocus();
//         }
//     };
//
// A window that is not a dialog (a QWidget it paints itself) inherits
// ControlMap too and calls builder.build(kTemplate, *this, *this).

#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QRect>
#include <array>
#include <functional>
#include <map>

#include "platform/gui/DialogTemplate.h"
#include "platform/gui/DialogUnits.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTextEdit;
class QTreeWidget;
class QWidget;

namespace tessaly {

class ControlMap;

// A popup menu of a menu template (a context menu): its items carry their
// command ids in QAction::data() and are entered in `into` when given.
QMenu* buildPopupMenu(const MenuItem& popup, QWidget* parent, ControlMap* into = nullptr);

// The controls of one built window, found by id, and its menu commands.
// A lookup of an id the template does not have, or of the wrong kind, gives
// nullptr.
class ControlMap {
public:
    QWidget* control(int id) const;
    template <class T>
    T* control(int id) const
    {
        return qobject_cast<T*>(control(id));
    }

    QPushButton* button(int id) const;
    QCheckBox* checkBox(int id) const;
    QLineEdit* edit(int id) const;                 // single-line edits
    QPlainTextEdit* multiLineEdit(int id) const;   // edits with ctl::MultiLine
    QLabel* staticText(int id) const;
    QGroupBox* groupBox(int id) const;
    QTreeWidget* listView(int id) const;
    QComboBox* comboBox(int id) const;
    QSlider* trackbar(int id) const;
    QProgressBar* progressBar(int id) const;
    QTextEdit* richEdit(int id) const;

    // A menu item by command id (QAction::data() holds the id too).
    QAction* command(int id) const;
    QMenuBar* menuBar() const { return menuBar_; }

    // The client area in window pixels: below the menu bar, if any.
    QRect clientRect() const { return client_; }
    ScreenScale scale() const { return scale_; }
    // A rectangle of the template's units in window pixels.
    QRect toPixels(const UnitRect& rect) const;

private:
    friend class DialogBuilder;
    friend QMenu* buildPopupMenu(const MenuItem& popup, QWidget* parent, ControlMap* into);
    std::map<int, QPointer<QWidget>> controls_;
    std::map<int, QPointer<QAction>> commands_;
    QPointer<QMenuBar> menuBar_;
    QRect client_;
    ScreenScale scale_;
};

class DialogBuilder {
public:
    using Factory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

    // Makes the controls of one kind with this factory instead of the
    // standard widget; the owner-drawn kinds have no standard widget.
    void setFactory(ControlKind kind, Factory factory);

    // Lays the template out on the window: caption, icon, window flags, font,
    // fixed size (unless resizable), menu bar, and every control at its pixel
    // position in template order (which is also the tab order). Group boxes
    // go to the back and let clicks through to the controls they frame.
    void build(const DialogTemplate& dialog, QWidget& window, ControlMap& into,
               ScreenScale scale) const;
    void build(const DialogTemplate& dialog, QWidget& window, ControlMap& into) const;

private:
    QWidget* makeControl(const ControlTemplate& control, QWidget* parent) const;
    std::map<ControlKind, Factory> factories_;
};

// The command id of a menu action built here; 0 for any other action.
int commandId(const QAction* action);

} // namespace tessaly
