#include "platform/web/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/sys/CLocale.h"
#include "platform/web/CurlSetup.h"

namespace tessaly {
namespace {

struct Sink {
    std::string* body;
    std::size_t cap;
    bool capped = false;
};

std::size_t collect(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const std::size_t n = size * count;
    std::size_t take = n;
    if (sink->cap != 0 && sink->body->size() + n >= sink->cap) {
        take = sink->cap - sink->body->size();
        sink->capped = true;
    }
    sink->body->append(data, take);
    // Returning less than was offered ends the transfer: the cap is reached.
    return sink->capped ? take : n;
}

} // namespace

namespace curl {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

void setCommonOptions(CURL* h, const char* url, long connectTimeoutMs)
{
    curl_easy_setopt(h, CURLOPT_URL, url);
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);   // timeouts must not raise signals in a Qt program
}

void setStallTimeout(CURL* h, long stallTimeoutMs)
{
    if (stallTimeoutMs <= 0)
        return;
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, std::max(1L, stallTimeoutMs / 1000));
}

HttpReply performForReply(CURL* h, std::size_t maxBytes)
{
    HttpReply reply;
    char detail[CURL_ERROR_SIZE] = {};
    Sink sink{&reply.body, maxBytes};
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);

    const CURLcode code = curl_easy_perform(h);
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &reply.status);
    if (code != CURLE_OK && !(code == CURLE_WRITE_ERROR && sink.capped)) {
        reply.error = detail[0] != '\0' ? detail : curl_easy_strerror(code);
        reply.body.clear();
        return reply;
    }
    if (reply.status < 200 || reply.status > 299) {
        // An error page is no reply to the request: its text must never be
        // read as the file that was asked for.
        reply.error = formatC("The server answered with HTTP status %ld.", reply.status);
        reply.body.clear();
        return reply;
    }
    reply.ok = true;
    return reply;
}

} // namespace curl

HttpReply CurlHttpClient::get(const std::string& url, const HttpLimits& limits)
{
    curl::initialiseOnce();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(curl_easy_init(), &curl_easy_cleanup);
    if (!curl) {
        HttpReply reply;
        reply.error = "The HTTP library could not be initialised.";
        return reply;
    }
    CURL* h = curl.get();
    curl::setCommonOptions(h, url.c_str(), limits.connectTimeoutMs);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs);
    return curl::performForReply(h, limits.maxBytes);
}

} // namespace tessaly
