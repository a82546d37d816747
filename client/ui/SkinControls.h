#pragma once
// The dialog builder of the client: the standard controls plus the
// owner-drawn ones of this folder (SkinButton, HotSpotButton, LinkTicker,
// AmountEdit), so a template can name them by kind.

#include "platform/gui/DialogBuilder.h"

namespace tessaly {

void addSkinControls(DialogBuilder& builder);

// A process-wide builder with addSkinControls() applied.
const DialogBuilder& skinDialogBuilder();

} // namespace tessaly
