#include "platform/gui/DialogWindow.h"

#include <QAbstractButton>

#include "platform/gui/Desktop.h"

namespace tessaly {

DialogWindow::DialogWindow(const DialogTemplate& dialog, const DialogBuilder& builder, QWidget* parent)
    : DialogWindow(dialog, builder, screenScale(), parent)
{
}

DialogWindow::DialogWindow(const DialogTemplate& dialog, const DialogBuilder& builder, ScreenScale scale,
                           QWidget* parent)
    : QDialog(parent), resource_(dialog.resource)
{
    builder.build(dialog, *this, *this, scale);
    connectOkCancel();
}

void DialogWindow::connectOkCancel()
{
    if (auto* ok = control<QAbstractButton>(1))
        connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
    if (auto* cancel = control<QAbstractButton>(2))
        connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
}

} // namespace tessaly
