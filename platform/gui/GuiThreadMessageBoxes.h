#pragma once
// Message boxes that any thread may ask for: a worker thread's box is shown
// on the application's thread, and the worker waits for the answer while
// the windows behind the box keep running.

#include "platform/MessageBoxes.h"

namespace tessaly {

class GuiThreadMessageBoxes final : public MessageBoxes {
public:
    // `shown` does the showing, always on the application's thread.
    explicit GuiThreadMessageBoxes(MessageBoxes& shown) : shown_(shown) {}
    BoxAnswer show(const BoxRequest& box) override;

private:
    MessageBoxes& shown_;
};

} // namespace tessaly
