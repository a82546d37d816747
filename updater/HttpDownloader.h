#pragma once
// The updater's HTTP side: the info query (a package's headers) and the
// download of a package into memory in reads of at most 4,095 bytes, with
// the progress record kept up to date on every read.
//
// StatusSession keeps the latest status text of the transfers (resolving,
// connecting, reading ...). No window is attached to it in the updater:
// the texts go to the traces only.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/web/HttpStream.h"
#include "updater/PackageBuffer.h"
#include "updater/PackageDigest.h"
#include "updater/ProgressRecord.h"

namespace tessaly::updater {

class StatusSession {
public:
    void record(const HttpStageInfo& info);
    void setText(std::string text);
    const std::string& latestText() const { return text_; }

private:
    std::string text_;
};

// The wall clock in whole seconds; tests pass their own.
using WallClock = std::function<std::int64_t()>;
WallClock systemWallClock();

struct PackageInfo {
    bool ok = false;
    bool sizeKnown = false;    // the server gave a Content-Length
    std::uint32_t size = 0;    // 0 when unknown
};

class HttpDownloader {
public:
    static constexpr std::size_t kReadSize = 4095;

    HttpDownloader(HttpStream& http, ProgressRecord& progress, WallClock clock = systemWallClock());

    // The package's headers, without its body. Fails when the request
    // cannot be made, or the server answers with an error status (above
    // 399) and without Last-Modified or Content-Length.
    PackageInfo queryInfo(const std::string& url);

    // The whole body into `body`, and into `digest` when one is given, piece
    // by piece as it arrives. Fails on any transfer error, and when the
    // body ends before the length the server announced; `body` is then
    // empty. An error page is a body like any other.
    bool download(const std::string& url, PackageBuffer& body, PackageDigest* digest = nullptr);

    // A package's signature file, beside it at url + ".minisig": its text,
    // Missing when the server answers with an error status, Failed when the
    // transfer fails or the text is longer than any signature file.
    struct SignatureFetch {
        enum Outcome { Found, Missing, Failed } outcome = Failed;
        std::string text;
    };
    SignatureFetch fetchSignature(const std::string& packageUrl);

    long lastStatusCode() const { return statusCode_; }
    const std::string& lastError() const { return error_; }
    const std::string& lastHeaders() const { return headers_; }
    double rate() const { return rate_; }
    const StatusSession& session() const { return session_; }

private:
    HttpStreamReply fetch(const std::string& url, bool headersOnly, std::function<bool(std::string_view)> onData);

    HttpStream& http_;
    ProgressRecord& progress_;
    WallClock clock_;
    StatusSession session_;
    long statusCode_ = 0;
    std::string error_;
    std::string headers_;
    double rate_ = 0.0;
};

} // namespace tessaly::updater
