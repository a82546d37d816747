#pragma once
// Sending one crash report the user chose to send. First it is kept (a
// fresh report moves under "unsent-reports"), so that nothing is lost
// whatever happens next; then, within the hourly limit, it is posted to
// the web site's "/crash-report". Sent, its files are removed; not sent
// (offline, a server error, the limit), it stays kept and the client
// offers it again at its next start. keep() is quick and runs where the
// user clicked; send() waits for the network and runs on a worker thread.

#include <cstdint>
#include <string>

#include "client/diag/bugrelay/CrashForm.h"
#include "client/diag/bugrelay/ReportStore.h"
#include "client/diag/bugrelay/SenderSettings.h"
#include "client/diag/bugrelay/WallClock.h"
#include "platform/web/HttpUpload.h"

namespace tessaly {

struct Delivery {
    enum class Result { Sent, NotSent, Limited };
    Result result = Result::NotSent;
    std::string reportId;        // Sent: the server's number for it, when it gave one
    std::string error;           // NotSent: why
    std::int64_t nextUpload = 0; // Limited: when the next upload may go
    bool kept = true;            // false when the report could not be kept for later
};

class ReportDelivery {
public:
    // webUrl: the web site's address, without a trailing "/".
    ReportDelivery(const ReportStore& store, SenderSettings& settings, HttpUpload& upload, const WallClock& clock,
                   const std::string& webUrl, std::string version);

    const std::string& url() const { return url_; }
    // The fields the form carries with these comments.
    CrashFields fields(const std::string& comments);

    // Keeps the report with the comments; false when it cannot be written.
    bool keep(PendingReport& report, const std::string& comments);
    // Posts a report (kept, unless keep() failed) within the hourly limit.
    Delivery send(const PendingReport& report);
    // Deletes a kept report the user declined to send.
    void discard(const PendingReport& report);

private:
    const ReportStore& store_;
    SenderSettings& settings_;
    HttpUpload& upload_;
    const WallClock& clock_;
    std::string url_;
    std::string version_;
};

} // namespace tessaly
