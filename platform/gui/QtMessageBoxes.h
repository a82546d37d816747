#pragma once
// Message boxes on the desktop. A system-modal box blocks the whole
// application; a box with an owner blocks its owner window; a box without an
// owner blocks the application too, since no window may go away while one of
// its handlers waits for the answer.

#include <QString>

#include "platform/MessageBoxes.h"

namespace tessaly {

class QtMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest& box) override;
};

// The caption of a box that names none: the application's display name.
QString defaultBoxCaption();

} // namespace tessaly
