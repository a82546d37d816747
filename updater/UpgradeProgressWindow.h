#pragma once
// dlgUpgradeProgress: the updater's one window. It shows how the worker
// thread is doing - a progress bar and a status line - from the shared
// progress record, on a 250 ms timer, and closes when the worker says the
// run is finished. Closing it ends the program at any moment.

#include <QTimer>

#include <functional>

#include "platform/gui/DialogWindow.h"
#include "updater/ProgressRecord.h"

namespace tessaly::updater {

inline constexpr int kProgressBarId = 1000;
inline constexpr int kStatusLineId = 1001;
inline constexpr int kTickMs = 250;

const DialogTemplate& upgradeProgressTemplate();

class dlgUpgradeProgress : public DialogWindow {
    Q_OBJECT
public:
    // Opening the window clears bytes read and rate, starts the timer, then
    // calls startWorker.
    dlgUpgradeProgress(ProgressRecord& progress, const std::function<void()>& startWorker,
                       QWidget* parent = nullptr);

    // The timer's work: the bar, the status line, or the close at phase 300.
    void tick();

private:
    ProgressRecord& progress_;
    QTimer timer_;
};

} // namespace tessaly::updater
