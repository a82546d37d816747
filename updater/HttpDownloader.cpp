#include "updater/HttpDownloader.h"

#include <ctime>
#include <limits>

#include "platform/sys/Trace.h"
#include "updater/ProgressTexts.h"

namespace tessaly::updater {
namespace {

// Error texts are kept to what the status text holds.
constexpr std::size_t kMaxErrorText = 255;

// The package is held in memory and its size is a 32-bit count: a body
// larger than that is refused rather than let grow without end.
constexpr std::uint64_t kMaxPackageBytes = std::numeric_limits<std::int32_t>::max();
constexpr std::uint32_t kMaxReservedBytes = 512u * 1024u * 1024u;

constexpr const char* kSignatureSuffix = ".minisig";
// A signature file is four short lines; a long comment still fits.
constexpr std::size_t kMaxSignatureBytes = 8192;

} // namespace

void StatusSession::record(const HttpStageInfo& info)
{
    if (std::optional<std::string> text = stageText(info))
        setText(std::move(*text));
}

void StatusSession::setText(std::string text)
{
    text_ = std::move(text);
    trace("%s", text_.c_str());
}

WallClock systemWallClock()
{
    return [] { return static_cast<std::int64_t>(std::time(nullptr)); };
}

HttpDownloader::HttpDownloader(HttpStream& http, ProgressRecord& progress, WallClock clock)
    : http_(http), progress_(progress), clock_(std::move(clock))
{
}

HttpStreamReply HttpDownloader::fetch(const std::string& url, bool headersOnly,
                                      std::function<bool(std::string_view)> onData)
{
    HttpStreamRequest request;
    request.url = url;
    request.readSize = kReadSize;
    request.headersOnly = headersOnly;
    request.onData = std::move(onData);
    request.onStage = [this](const HttpStageInfo& info) { session_.record(info); };
    return http_.get(request);
}

PackageInfo HttpDownloader::queryInfo(const std::string& url)
{
    PackageInfo info;
    const HttpStreamReply reply = fetch(url, true, {});
    if (!reply.ok) {
        session_.setText(reply.error.substr(0, kMaxErrorText));
        return info;
    }
    if (!reply.header("Last-Modified") && reply.status > 399)
        return info;
    const std::optional<std::uint64_t> length = reply.contentLength();
    if (!length && reply.status > 399)
        return info;
    info.ok = true;
    info.sizeKnown = length && *length <= std::numeric_limits<std::uint32_t>::max();
    info.size = info.sizeKnown ? static_cast<std::uint32_t>(*length) : 0;
    return info;
}

HttpDownloader::SignatureFetch HttpDownloader::fetchSignature(const std::string& packageUrl)
{
    SignatureFetch fetched;
    const HttpStreamReply reply = fetch(packageUrl + kSignatureSuffix, false, [&](std::string_view piece) {
        fetched.text += piece;
        return fetched.text.size() <= kMaxSignatureBytes;
    });
    if (!reply.ok) {
        trace("signature of %s: %s", packageUrl.c_str(), reply.error.c_str());
        fetched.outcome = SignatureFetch::Failed;
    } else {
        fetched.outcome = reply.status > 399 ? SignatureFetch::Missing : SignatureFetch::Found;
    }
    return fetched;
}

bool HttpDownloader::download(const std::string& url, PackageBuffer& body, PackageDigest* digest)
{
    statusCode_ = 0;
    body.clear();
    if (digest != nullptr)
        digest->reset();
    // The size the info query found: the body grows in place, never copied.
    // A size that no package has is not trusted with memory in advance.
    if (progress_.packageSize <= kMaxReservedBytes)
        body.reserve(progress_.packageSize);
    const std::int64_t start = clock_();
    const HttpStreamReply reply = fetch(url, false, [&](std::string_view piece) {
        if (body.size() + piece.size() > kMaxPackageBytes)
            return false;
        if (!body.append(piece))
            return false;
        if (digest != nullptr)
            digest->add(piece);
        const DownloadReading reading = downloadReading(static_cast<std::int64_t>(body.size()), clock_() - start);
        session_.setText(reading.status);
        rate_ = reading.rate;
        progress_.bytesRead = static_cast<std::int32_t>(body.size());
        progress_.rate = reading.rate;
        return true;
    });
    if (!reply.ok) {
        error_ = reply.error.substr(0, kMaxErrorText);
        session_.setText(error_);
        body.clear();
        return false;
    }
    statusCode_ = reply.status;
    headers_ = reply.headers;
    session_.setText({});
    return true;
}

} // namespace tessaly::updater
