#pragma once
// "What is sent": the whole form of a crash report as it goes out (the
// fields, the dump's size, the report's text), read-only, opened from
// Bugrelay's "Show what is sent".

#include <QString>

#include "platform/gui/DialogWindow.h"

namespace tessaly {

class SentFormDialog : public DialogWindow {
    Q_OBJECT
public:
    enum Control { kText = 1001 };

    explicit SentFormDialog(const QString& description, QWidget* parent = nullptr);
};

} // namespace tessaly
