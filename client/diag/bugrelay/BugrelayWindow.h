#pragma once
// The window of `Bugrelay`, the crash sender: "Tessaly closed unexpectedly".
// It asks before anything is sent: the user may write what they were
// doing, read everything that would be sent ("Show what is sent"), choose
// to send reports without being asked from now on, and then "Send and
// restart", "Restart" (without sending) or "Close" (Escape). A kept report
// offered at the client's start shows "Send" and "Close" instead; closing
// that window deletes the report, so it is never offered again.
//
// The upload runs on a worker thread; the client starts again at once and
// the window shows how the sending went (with the server's number for the
// report). Closed while a report is going out, the window hides and the
// program ends when the upload is over.

#include <QString>
#include <thread>

#include "client/diag/bugrelay/ReportDelivery.h"
#include "client/diag/bugrelay/SendRules.h"
#include "platform/gui/DialogWindow.h"

namespace tessaly {

class ProcessLauncher;

// The status line's text for how a delivery went.
QString deliveryText(const Delivery& delivery, const QString& keptFolder);

class BugrelayWindow : public DialogWindow {
    Q_OBJECT
public:
    enum Control {
        kHeading = 1001,
        kExplanation = 1002,
        kComments = 1003,
        kShowSent = 1004,
        kAutomatic = 1005,
        kStatus = 1006,
        kSend = 1007,
        kRestart = 1008,
    };
    static constexpr int kCommentsMax = 500;

    BugrelayWindow(const SenderCommand& command, PendingReport report, ReportDelivery& delivery,
                   SenderSettings& settings, ProcessLauncher& launcher, QWidget* parent = nullptr);
    ~BugrelayWindow() override;

    bool sending() const { return sending_; }

    // "Close", Escape and the close box.
    void reject() override;

signals:
    // The window is closed and no upload is under way: the program may end.
    void ended();

private:
    void sendReport();
    void restartClient();
    void showWhatIsSent();
    void sendFinished(const Delivery& delivery);
    void closeWindow(int result);

    SenderCommand command_;
    PendingReport report_;
    ReportDelivery& delivery_;
    SenderSettings& settings_;
    ProcessLauncher& launcher_;
    std::thread worker_;
    bool sending_ = false;
    bool sendStarted_ = false;
    bool closed_ = false;
    QString restartProblem_;
};

} // namespace tessaly
