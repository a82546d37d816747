#pragma once
// The form a crash report is posted as, in the shape common crash servers
// take: the plain fields "prod", "ver", "guid" and "comments", the dump as
// the file part "upload_file_minidump" and the report's text as the file
// part "upload_file_report". The description the user reads under "Show
// what is sent" is made from the very same parts, so it cannot differ from
// what goes out.

#include <string>
#include <vector>

#include "client/diag/bugrelay/ReportStore.h"
#include "platform/web/HttpUpload.h"

namespace tessaly {

inline constexpr const char* kCrashProduct = "Tessaly";
inline constexpr const char* kCrashReportPath = "/crash-report";

struct CrashFields {
    std::string version;          // the client's
    std::string installationId;   // random, kept in the sender's settings
    std::string comments;         // the user's line
};

std::vector<HttpFormPart> crashFormParts(const PendingReport& report, const CrashFields& fields);

// Every part in order: the fields with their values, the dump's size and
// what a dump holds, and the report's whole text.
std::string describeCrashForm(const std::vector<HttpFormPart>& parts, const std::string& url);

} // namespace tessaly
