#pragma once
// What every libcurl transfer of this layer shares: the one global
// initialisation, the options that keep a transfer safe in a Qt program,
// the stall time-out, and the reading of a small reply.

#include <curl/curl.h>

#include <cstddef>

#include "platform/web/HttpClient.h"

namespace tessaly::curl {

void initialiseOnce();

// URL, http and https only (redirects too, at most 5), no signals, the
// connect timeout.
void setCommonOptions(CURL* handle, const char* url, long connectTimeoutMs);

// The transfer fails when no byte moves for this long; 0: never.
void setStallTimeout(CURL* handle, long stallTimeoutMs);

// Runs the transfer set up on the handle and collects its body (cut at
// maxBytes, 0: no cap). ok only for a 2xx status: an error page is no
// reply to the request, so its body is dropped.
HttpReply performForReply(CURL* handle, std::size_t maxBytes);

} // namespace tessaly::curl
