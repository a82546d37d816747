#pragma once
// What every libcurl transfer of this layer shares: the one global
// initialisation and the options that keep a GET safe in a Qt program.

#include <curl/curl.h>

namespace tessaly::curl {

void initialiseOnce();

// URL, http and https only (redirects too, at most 5), no signals, the
// connect timeout.
void setCommonOptions(CURL* handle, const char* url, long connectTimeoutMs);

} // namespace tessaly::curl
