#pragma once
// HTTP GET over libcurl, for the version files and other small downloads.
//
// A transfer that cannot be made (no such host, refused, timed out, an error
// status from the server) gives ok = false and a one-line error text for the
// user; a body longer than the cap is cut at the cap and still counts as a
// reply, as one read of a fixed buffer would.

#include <cstddef>
#include <string>

namespace tessaly {

struct HttpLimits {
    std::size_t maxBytes = 0;          // 0: no cap
    long connectTimeoutMs = 3000;
    long totalTimeoutMs = 5000;        // the whole transfer, name lookup included
};

struct HttpReply {
    bool ok = false;
    long status = 0;                   // the final HTTP status, 0 when none came
    std::string body;
    std::string error;                 // set when !ok
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    virtual HttpReply get(const std::string& url, const HttpLimits& limits) = 0;
};

class CurlHttpClient final : public HttpClient {
public:
    HttpReply get(const std::string& url, const HttpLimits& limits) override;
};

} // namespace tessaly
