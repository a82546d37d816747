#include "client/diag/bugrelay/CrashForm.h"

#include "client/diag/CrashReportFiles.h"

namespace tessaly {
namespace {

constexpr const char* kDumpPart = "upload_file_minidump";
constexpr const char* kReportPart = "upload_file_report";

// Lines of at most 72 characters: the description is shown unwrapped, so
// that the report's columns stay in line.
const char* explanationOf(const std::string& part)
{
    if (part == "guid")
        return "       (a random number made for this installation: it tells reports\n"
               "       from the same computer apart, not who you are)\n";
    if (part == kDumpPart)
        return "It holds the processor's registers and the stacks of Tessaly's threads,\n"
               "where every word that is not an address or a small number is blanked\n"
               "(so no text is left: no password, no chat), the loaded libraries with\n"
               "their paths, the code around the fault, and the system's\n"
               "/proc/self/maps, /proc/self/status and /proc/cpuinfo.\n";
    return "";
}

} // namespace

std::vector<HttpFormPart> crashFormParts(const PendingReport& report, const CrashFields& fields)
{
    std::vector<HttpFormPart> parts = {
        {"prod", kCrashProduct, "", ""},
        {"ver", fields.version, "", ""},
        {"guid", fields.installationId, "", ""},
        {"comments", fields.comments, "", ""},
    };
    if (report.dump)
        parts.push_back({kDumpPart, *report.dump, kCrashDumpFile, "application/octet-stream"});
    parts.push_back({kReportPart, report.text, kCrashReportFile, "text/plain"});
    return parts;
}

std::string describeCrashForm(const std::vector<HttpFormPart>& parts, const std::string& url)
{
    std::string text = "Sent to " + url + " as a form of " + std::to_string(parts.size()) + " parts:\n\n";
    for (const HttpFormPart& part : parts) {
        if (part.fileName.empty()) {
            text += part.name + " = " + part.data + "\n" + explanationOf(part.name);
            continue;
        }
        text += "\n" + part.name + ": the file \"" + part.fileName + "\", " + std::to_string(part.data.size())
              + " bytes.\n" + explanationOf(part.name);
        if (part.contentType == "text/plain")
            text += "Its whole text:\n\n" + part.data;
    }
    return text;
}

} // namespace tessaly
