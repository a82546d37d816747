#include "platform/web/HttpUpload.h"

#include <curl/curl.h>

#include <memory>

#include "platform/web/CurlSetup.h"

namespace tessaly {

HttpReply CurlHttpUpload::post(const HttpPostRequest& request)
{
    curl::initialiseOnce();
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), &curl_easy_cleanup);
    const std::unique_ptr<curl_mime, decltype(&curl_mime_free)> form(
        handle ? curl_mime_init(handle.get()) : nullptr, &curl_mime_free);
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        curl_slist_append(nullptr, "Expect:"), &curl_slist_free_all);
    if (!handle || !form || !headers) {
        HttpReply reply;
        reply.error = "The HTTP library could not be initialised.";
        return reply;
    }
    CURL* h = handle.get();
    for (const HttpFormPart& p : request.parts) {
        curl_mimepart* part = curl_mime_addpart(form.get());
        curl_mime_name(part, p.name.c_str());
        curl_mime_data(part, p.data.data(), p.data.size());
        if (!p.fileName.empty())
            curl_mime_filename(part, p.fileName.c_str());
        if (!p.contentType.empty())
            curl_mime_type(part, p.contentType.c_str());
    }
    curl::setCommonOptions(h, request.url.c_str(), request.connectTimeoutMs);
    curl::setStallTimeout(h, request.stallTimeoutMs);
    curl_easy_setopt(h, CURLOPT_MIMEPOST, form.get());
    // The whole form at once: no "100 Continue" round trip first.
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    // A redirect keeps the POST and its form.
    curl_easy_setopt(h, CURLOPT_POSTREDIR, static_cast<long>(CURL_REDIR_POST_ALL));
    return curl::performForReply(h, request.maxReplyBytes);
}

} // namespace tessaly
