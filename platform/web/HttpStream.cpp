#include "platform/web/HttpStream.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "platform/sys/CLocale.h"
#include "platform/web/CurlSetup.h"

namespace tessaly {
namespace {

constexpr long kReceiveBufferSize = 256 * 1024;

bool sameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string hostOf(const std::string& url)
{
    std::string host;
    CURLU* parsed = curl_url();
    if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* part = nullptr;
        if (curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK)
            host = part;
        curl_free(part);
    }
    curl_url_cleanup(parsed);
    return host;
}

// The state of one transfer, shared by libcurl's callbacks.
struct Transfer {
    const HttpStreamRequest& request;
    HttpStreamReply& reply;
    std::string host;
    std::uint64_t received = 0;
    bool resolved = false;
    bool receiving = false;
    bool stoppedAfterHeaders = false;
    bool refusedByCaller = false;

    void stage(HttpStage s)
    {
        if (request.onStage)
            request.onStage(HttpStageInfo{s, host});
    }
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    if (t->request.headersOnly) {
        // Returning less than was offered ends the transfer: the headers are all we wanted.
        t->stoppedAfterHeaders = true;
        return 0;
    }
    const std::size_t piece = t->request.readSize == 0 ? n : t->request.readSize;
    for (std::size_t at = 0; at < n; at += piece) {
        const std::size_t take = std::min(piece, n - at);
        if (t->request.onData && !t->request.onData(std::string_view(data + at, take))) {
            t->refusedByCaller = true;
            return 0;
        }
        t->received += take;
    }
    return n;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    const std::size_t n = size * count;
    const std::string_view line(data, n);
    if (!t->receiving) {
        t->receiving = true;
        t->stage(HttpStage::ReceivingResponse);
    }
    // Every response (a redirect, an interim 100) starts over: the final one counts.
    if (line.starts_with("HTTP/"))
        t->reply.headers.clear();
    t->reply.headers.append(line);
    if (line == "\r\n" || line == "\n") {
        t->stage(HttpStage::ResponseReceived);
        t->receiving = false;
    }
    return n;
}

curl_socket_t onOpenSocket(void* user, curlsocktype, curl_sockaddr* address)
{
    auto* t = static_cast<Transfer*>(user);
    if (!t->resolved) {
        t->resolved = true;
        t->stage(HttpStage::NameResolved);
    }
    t->stage(HttpStage::ConnectingToServer);
    return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
}

int onConnected(void* user, char*, char*, int, int)
{
    static_cast<Transfer*>(user)->stage(HttpStage::ConnectedToServer);
    return CURL_PREREQFUNC_OK;
}

int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    if (type == CURLINFO_HEADER_OUT) {
        t->stage(HttpStage::SendingRequest);
        t->stage(HttpStage::RequestSent);
    } else if (type == CURLINFO_TEXT && std::string_view(data, size).starts_with("Closing connection")) {
        t->stage(HttpStage::ClosingConnection);
        t->stage(HttpStage::ConnectionClosed);
    }
    return 0;
}

} // namespace

std::optional<std::string> HttpStreamReply::header(std::string_view name) const
{
    std::string_view rest(headers);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !sameNameIgnoringCase(line.substr(0, colon), name))
            continue;
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && isSpaceC(value.front()))
            value.remove_prefix(1);
        while (!value.empty() && isSpaceC(value.back()))
            value.remove_suffix(1);
        return std::string(value);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> HttpStreamReply::contentLength() const
{
    const std::optional<std::string> value = header("Content-Length");
    if (!value || value->empty() || value->size() > 19 ||
        !std::all_of(value->begin(), value->end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoull(*value);
}

HttpStreamReply CurlHttpStream::get(const HttpStreamRequest& request)
{
    curl::initialiseOnce();
    HttpStreamReply reply;
    Transfer transfer{request, reply, hostOf(request.url)};
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), &curl_easy_cleanup);
    if (!handle) {
        reply.error = "The HTTP library could not be initialised.";
        return reply;
    }
    transfer.stage(HttpStage::HandleCreated);
    char detail[CURL_ERROR_SIZE] = {};
    CURL* h = handle.get();
    curl::setCommonOptions(h, request.url.c_str(), request.connectTimeoutMs);
    curl::setStallTimeout(h, request.stallTimeoutMs);
    // Large receives, cut into pieces of readSize for onData: the pieces keep
    // their size while the socket is read with few calls.
    curl_easy_setopt(h, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &onBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETFUNCTION, &onOpenSocket);
    curl_easy_setopt(h, CURLOPT_OPENSOCKETDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, &onConnected);
    curl_easy_setopt(h, CURLOPT_PREREQDATA, &transfer);
    // The debug callback only runs in verbose mode; it prints nothing itself.
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, &onDebug);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &transfer);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);

    transfer.stage(HttpStage::ResolvingName);
    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    const bool complete = code == CURLE_OK || (code == CURLE_WRITE_ERROR && transfer.stoppedAfterHeaders);
    if (request.onStage)
        request.onStage(HttpStageInfo{HttpStage::RequestComplete, transfer.host, complete ? 1u : 0u,
                                      complete ? 0u : static_cast<std::uint32_t>(code)});
    transfer.stage(HttpStage::HandleClosing);

    const std::optional<std::uint64_t> announced = reply.contentLength();
    reply.truncated = code == CURLE_PARTIAL_FILE ||
                      (complete && !request.headersOnly && announced && transfer.received < *announced);
    if (transfer.refusedByCaller)
        reply.error = "The transfer was stopped.";
    else if (reply.truncated)
        reply.error = formatC("The transfer ended after %llu of %llu bytes.",
                              static_cast<unsigned long long>(transfer.received),
                              static_cast<unsigned long long>(announced.value_or(0)));
    else if (!complete)
        reply.error = detail[0] != '\0' ? detail : curl_easy_strerror(code);
    reply.ok = reply.error.empty();
    return reply;
}

} // namespace tessaly
