#pragma once
// HTTP GET over libcurl that hands the body over piece by piece and reports
// the stages of the transfer, for downloads too large or too slow for
// HttpClient's one reply (the updater's packages).
//
// The stages carry the numbers that the system's status texts are keyed by
// (10 resolving a name ... 100 request complete). An error status from the
// server is no failure here: the caller sees the status and the body.
// A body that ends before the length its Content-Length announced is a
// failure (ok = false, truncated = true).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

enum class HttpStage : int {
    ResolvingName = 10,
    NameResolved = 11,
    ConnectingToServer = 20,
    ConnectedToServer = 21,
    SendingRequest = 30,
    RequestSent = 31,
    ReceivingResponse = 40,
    ResponseReceived = 41,
    ClosingConnection = 50,
    ConnectionClosed = 51,
    HandleCreated = 60,
    HandleClosing = 70,
    RequestComplete = 100,
};

struct HttpStageInfo {
    HttpStage stage = HttpStage::HandleCreated;
    std::string host{};          // ResolvingName, NameResolved
    std::uint32_t result = 0;    // RequestComplete: 1 on success, else 0
    std::uint32_t error = 0;     // RequestComplete: libcurl's error code
};

// The time-outs of a transfer that may be large or slow (a package, a
// crash dump): it fails when it cannot connect within the first, or when
// no byte moves for the second.
inline constexpr long kTransferConnectTimeoutMs = 10000;
inline constexpr long kTransferStallTimeoutMs = 60000;

struct HttpStreamRequest {
    std::string url;
    long connectTimeoutMs = kTransferConnectTimeoutMs;
    // A transfer that moves no byte for this long fails; 0: never.
    long stallTimeoutMs = kTransferStallTimeoutMs;
    // The largest piece onData is given; 0: libcurl's own size.
    std::size_t readSize = 0;
    // Stop after the response headers; the body is not read.
    bool headersOnly = false;
    // Each piece of the body, in order; false ends the transfer as failed.
    std::function<bool(std::string_view piece)> onData;
    std::function<void(const HttpStageInfo&)> onStage;
};

struct HttpStreamReply {
    bool ok = false;
    bool truncated = false;              // fewer bytes than Content-Length announced
    long status = 0;                     // 0 when no response came
    std::string headers;                 // the raw response headers of the final response
    std::string error;                   // set when !ok

    // The value of a response header (case-insensitive name), nullopt when absent.
    std::optional<std::string> header(std::string_view name) const;
    // Content-Length as a number, nullopt when absent or not a number.
    std::optional<std::uint64_t> contentLength() const;
};

class HttpStream {
public:
    virtual ~HttpStream() = default;
    virtual HttpStreamReply get(const HttpStreamRequest& request) = 0;
};

class CurlHttpStream final : public HttpStream {
public:
    HttpStreamReply get(const HttpStreamRequest& request) override;
};

} // namespace tessaly
