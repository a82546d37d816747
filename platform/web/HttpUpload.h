#pragma once
// HTTP POST of a multipart form ("multipart/form-data") over libcurl, for
// uploads such as a crash report: plain fields and file parts, all held in
// memory. It fails when it cannot connect within connectTimeoutMs or when
// no byte moves for stallTimeoutMs; the reply is HttpClient's (ok only for
// a 2xx status, the body cut at maxReplyBytes).

#include <cstddef>
#include <string>
#include <vector>

#include "platform/web/HttpClient.h"
#include "platform/web/HttpStream.h"

namespace tessaly {

struct HttpFormPart {
    std::string name;
    std::string data;
    std::string fileName;      // empty: a plain field; else a file part sent under this name
    std::string contentType;   // empty: none is given for a field, libcurl's guess for a file
};

struct HttpPostRequest {
    std::string url;
    std::vector<HttpFormPart> parts;
    long connectTimeoutMs = kTransferConnectTimeoutMs;
    long stallTimeoutMs = kTransferStallTimeoutMs;
    std::size_t maxReplyBytes = 64 * 1024;
};

class HttpUpload {
public:
    virtual ~HttpUpload() = default;
    virtual HttpReply post(const HttpPostRequest& request) = 0;
};

class CurlHttpUpload final : public HttpUpload {
public:
    HttpReply post(const HttpPostRequest& request) override;
};

} // namespace tessaly
