#pragma once
// At the client's start, a crash report that the user chose to send and
// that has not gone out yet (offline, a server error, the hourly limit) is
// offered again: the crash sender beside the client is started as
// "Bugrelay --kept CLIENT". The sender decides whether to ask, to send at
// once (automatic sending) or to wait for its hourly limit.

#include <filesystem>
#include <string>

namespace tessaly {

class ProcessLauncher;

class UnsentReportOffer {
public:
    UnsentReportOffer(std::filesystem::path programDirectory, std::string programPath, ProcessLauncher& launcher);

    // Starts the sender when a report waits; true when it was started.
    bool offerIfWaiting();

private:
    std::filesystem::path directory_;
    std::string programPath_;
    ProcessLauncher& launcher_;
};

} // namespace tessaly
