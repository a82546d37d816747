#include "client/ui/SkinControls.h"

#include "client/ui/AmountEdit.h"
#include "client/ui/HotSpotButton.h"
#include "client/ui/LinkTicker.h"
#include "client/ui/SkinButton.h"
#include "platform/gui/Desktop.h"

namespace tessaly {

void addSkinControls(DialogBuilder& builder)
{
    builder.setFactory(ControlKind::SkinButton, [](const ControlTemplate& control, QWidget* parent) -> QWidget* {
        auto* button = new SkinButton(parent);
        button->setText(displayText(control.text));
        return button;
    });
    builder.setFactory(ControlKind::HotSpotButton, [](const ControlTemplate&, QWidget* parent) -> QWidget* {
        return new HotSpotButton(parent);
    });
    builder.setFactory(ControlKind::LinkTicker, [](const ControlTemplate&, QWidget* parent) -> QWidget* {
        return new LinkTicker(parent);
    });
    builder.setFactory(ControlKind::AmountEdit, [](const ControlTemplate& control, QWidget* parent) -> QWidget* {
        auto* edit = new AmountEdit(parent);
        if (control.flags & ctl::ReadOnly)
            edit->setReadOnly(true);
        return edit;
    });
}

const DialogBuilder& skinDialogBuilder()
{
    static const DialogBuilder builder = [] {
        DialogBuilder result;
        addSkinControls(result);
        return result;
    }();
    return builder;
}

} // namespace tessaly
