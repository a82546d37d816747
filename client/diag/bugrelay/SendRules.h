#pragma once
// The crash sender's rules: how it was started, what it does first, how
// often it may upload, and what of the server's answer it shows.
//
//   Bugrelay CLIENT [ARGUMENT...]   after a crash (the crash guard): the
//                                   report beside CLIENT; a restart starts
//                                   CLIENT with the ARGUMENTs
//   Bugrelay --kept CLIENT          at the client's start: the oldest kept
//                                   report that waits to be sent
//   Bugrelay                        by hand: the report beside the client
//                                   that shares this folder, else a kept one

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

enum class SenderStart { Crash, Offer, ByHand };

struct SenderCommand {
    SenderStart how = SenderStart::ByHand;
    std::string clientPath;
    std::vector<std::string> clientArguments;
};

// args: the command line after the program's name; besideClient: the
// client in the sender's own folder, for a start without one.
SenderCommand parseSenderCommand(const std::vector<std::string>& args, const std::string& besideClient);

enum class StartAction {
    NothingToSend,   // say so in one line and end
    ShowWindow,
    SendSilently,    // the user chose automatic sending: no window
    EndQuietly,      // a kept report must wait for the hourly limit
};

// A crash or a kept report goes out silently when the user chose automatic
// sending; a kept report is offered only when it may be sent now; a person
// who starts the sender by hand always sees the window.
StartAction startAction(SenderStart how, bool reportFound, bool sendAutomatically, bool uploadAllowedNow);

// At most one upload an hour.
inline constexpr std::int64_t kUploadIntervalSeconds = 3600;

// True when none was made, the last was an hour ago or more, or it lies
// in the future (the clock was set back).
bool uploadAllowed(std::optional<std::int64_t> lastUpload, std::int64_t now);

// The report's number as the server's answer gives it: the body's first
// line without surrounding blanks, when it is at most 128 printable ASCII
// characters; else empty.
std::string reportIdFrom(std::string_view body);

} // namespace tessaly
