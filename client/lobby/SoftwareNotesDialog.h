#pragma once
// "Software Notes" (resource 206), opened modally from the Announcements
// menu: the release notes in a read-only text box, and OK.

#include "platform/gui/DialogWindow.h"

namespace tessaly {

class softwareNotesDlg : public DialogWindow {
    Q_OBJECT
public:
    explicit softwareNotesDlg(QWidget* parent = nullptr);
};

} // namespace tessaly
