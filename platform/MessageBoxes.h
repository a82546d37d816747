#pragma once
// Modal notices to the user. Every part that shows a message box goes through
// this interface, so tests can script the answers and record what was shown.

#include <string>

class QWidget;

namespace tessaly {

enum class BoxIcon { None, Stop, Exclamation, Information };
enum class BoxButtons { Ok, OkCancel, YesNo };
enum class BoxAnswer { Ok, Cancel, Yes, No };

struct BoxRequest {
    std::string text;      // "\r" breaks lines, as in every text of the system
    std::string caption;   // empty: the platform's default caption
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    bool systemModal = false;   // blocks the whole application, not only the owner
    QWidget* owner = nullptr;   // nullptr: no owner (the desktop)
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual BoxAnswer show(const BoxRequest& box) = 0;
};

} // namespace tessaly
