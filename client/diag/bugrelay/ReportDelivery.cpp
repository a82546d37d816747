#include "client/diag/bugrelay/ReportDelivery.h"

#include "client/diag/bugrelay/SendRules.h"

namespace tessaly {

ReportDelivery::ReportDelivery(const ReportStore& store, SenderSettings& settings, HttpUpload& upload,
                               const WallClock& clock, const std::string& webUrl, std::string version)
    : store_(store),
      settings_(settings),
      upload_(upload),
      clock_(clock),
      url_(webUrl + kCrashReportPath),
      version_(std::move(version))
{
}

CrashFields ReportDelivery::fields(const std::string& comments)
{
    return {version_, settings_.installationId(), comments};
}

bool ReportDelivery::keep(PendingReport& report, const std::string& comments)
{
    return store_.keep(report, comments, clock_.now());
}

Delivery ReportDelivery::send(const PendingReport& report)
{
    Delivery delivery;
    delivery.kept = report.kept;
    const std::int64_t now = clock_.now();
    const std::optional<std::int64_t> last = settings_.lastUpload();
    if (!uploadAllowed(last, now)) {
        delivery.result = Delivery::Result::Limited;
        delivery.nextUpload = *last + kUploadIntervalSeconds;
        return delivery;
    }
    HttpPostRequest request;
    request.url = url_;
    request.parts = crashFormParts(report, fields(report.comments));
    const HttpReply reply = upload_.post(request);
    // Whatever reached the server counts against the limit, answered or not.
    if (reply.status != 0)
        settings_.setLastUpload(now);
    if (!reply.ok) {
        delivery.error = reply.error;
        return delivery;
    }
    store_.remove(report);
    delivery.result = Delivery::Result::Sent;
    delivery.reportId = reportIdFrom(reply.body);
    return delivery;
}

void ReportDelivery::discard(const PendingReport& report)
{
    store_.remove(report);
}

} // namespace tessaly
