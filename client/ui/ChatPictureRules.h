#pragma once
// The chat log's picture tokens: short texts in a chat message (smileys,
// suits, card, chip, yes and no) that the log shows as small pictures, and
// the cutting of a message into text runs and pictures.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly {

struct ChatPictureToken {
    std::string_view token;   // compared case-sensitively
    std::string_view file;    // relative to the program's directory
};

inline constexpr int kChatPictureCount = 25;

// The table in matching order: at each position of a message the first
// entry whose token starts there wins.
const std::array<ChatPictureToken, kChatPictureCount>& chatPictureTokens();

// One run of a message as the log shows it: text, or the picture of table
// entry `picture` (its token in `text`).
struct ChatRun {
    std::string text;
    int picture = -1;

    bool isPicture() const { return picture >= 0; }
    bool operator==(const ChatRun&) const = default;
};

// The message cut into runs, strictly left to right. With pictures on,
// tokens become picture runs and the text between them text runs (never
// empty ones). With pictures off the message is one text run; a message
// holding a suit token (":s", ":d", ":h", ":c") loses every colon it has.
std::vector<ChatRun> chatRuns(std::string_view message, bool picturesShown);

} // namespace tessaly
