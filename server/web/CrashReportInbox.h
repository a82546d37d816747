#pragma once
// "/crash-report": crash reports posted by the crash sender, as a multipart
// form of the kind common crash servers take (the dump as the file part
// "upload_file_minidump", more file parts, and plain fields such as prod,
// ver, guid and comments). Each report gets a folder of its own in the
// inbox, named by the id that the answer's body gives back:
//
//   INBOX/ID/fields.txt     one "name=value" line per plain field, in order
//   INBOX/ID/PART           each file part's bytes, under its part's name
//
// In fields.txt a value's backslash, tab, carriage return and line feed
// are written "\\", "\t", "\r" and "\n", other control characters "\xHH"
// (escapedText). A folder appears whole: it is written under a hidden name
// and then renamed.

#include <cstddef>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace httplib {
class Server;
}

namespace tessaly::house {

inline constexpr std::size_t kCrashReportMaxBytes = 32 * 1024 * 1024;
inline constexpr std::size_t kCrashReportMaxParts = 32;

struct FormPart {
    std::string name;
    std::string fileName;   // empty for a plain field
    std::string content;
};

class CrashReportInbox {
public:
    explicit CrashReportInbox(std::string folder);

    // Stores one report; its id, or nullopt (with error) when it cannot be
    // stored. Safe to call from several threads at once.
    std::optional<std::string> store(const std::vector<FormPart>& parts, std::string* error);

private:
    std::string newId();

    std::string folder_;
    std::mutex mutex_;
    std::mt19937_64 random_;
};

// A field as fields.txt holds it, with its line end.
std::string crashFieldLine(const std::string& name, const std::string& value);

// What is wrong with a report's parts, or empty: part names are 1 to 64
// letters, digits, "_" and "-", and no file part's name comes twice.
std::string crashPartsProblem(const std::vector<FormPart>& parts);

// POST /crash-report into the inbox: 200 with the id (text/plain), 413
// for a body over maxBytes, 400 for a request that is no multipart form,
// has more than kCrashReportMaxParts parts or a bad part name, 500 when it
// cannot be stored.
void addCrashReportRoute(httplib::Server& server, CrashReportInbox& inbox, std::size_t maxBytes = kCrashReportMaxBytes);

} // namespace tessaly::house
