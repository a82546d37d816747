#pragma once
// A dialog built from a template: a QDialog that is also the map of its
// controls. As in every dialog of the system, the button with id 1 runs
// accept() and the one with id 2 runs reject(); both are virtual, so a window
// that checks its fields before closing overrides accept().

#include <QDialog>

#include "platform/gui/DialogBuilder.h"

namespace tessaly {

class DialogWindow : public QDialog, public ControlMap {
    Q_OBJECT
public:
    // The builder must know the owner-drawn kinds the template uses
    // (client/ui's skinDialogBuilder() knows them all).
    DialogWindow(const DialogTemplate& dialog, const DialogBuilder& builder, QWidget* parent = nullptr);
    DialogWindow(const DialogTemplate& dialog, const DialogBuilder& builder, ScreenScale scale,
                 QWidget* parent = nullptr);

    int resource() const { return resource_; }

private:
    void connectOkCancel();
    int resource_;
};

} // namespace tessaly
