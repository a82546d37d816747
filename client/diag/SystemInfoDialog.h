#pragma once
// "System Information" (dialog 170): the processor, memory, graphics card
// and system of this machine, shown modally from the lobby. It only reads.

#include "client/diag/SystemInfo.h"
#include "platform/gui/DialogWindow.h"

namespace tessaly {

class dlgSystemInfo : public DialogWindow {
    Q_OBJECT
public:
    // The fields' ids.
    enum Field {
        kVersion = 101,
        kProcessorCount = 102,
        kCpuType = 103,
        kCpuFeatures = 104,
        kMemoryLoad = 105,
        kPhysical = 106,
        kVirtual = 107,
        kGraphicsCard = 108,
    };

    explicit dlgSystemInfo(const SystemInfoTexts& texts, QWidget* parent = nullptr);
};

// Reads this machine and runs the dialog modally over the parent.
void runSystemInfoDialog(QWidget* parent);

} // namespace tessaly
