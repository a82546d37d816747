#pragma once
// The chat log with inline pictures: one coloured line at a time appended to
// a read-only QTextEdit, tokens of the message shown as small pictures.

#include <QColor>
#include <QImage>
#include <QUrl>
#include <array>
#include <string>
#include <string_view>

#include "client/ui/ChatPictureRules.h"

class QTextEdit;

namespace tessaly {

// The log keeps at most this many characters; once it would hold more, its
// oldest lines go until it holds kChatLogKept.
inline constexpr int kChatLogLimit = 262144;
inline constexpr int kChatLogKept = kChatLogLimit - kChatLogLimit / 8;

// The pictures of the token table, read once for the whole process from the
// program's directory, so the working directory does not matter.
class ChatPictureTable {
public:
    ChatPictureTable() = default;   // no pictures: tokens show as text
    explicit ChatPictureTable(const std::string& programDirectory);

    // Null when the entry's file did not load.
    const QImage& image(int entry) const { return images_.at(static_cast<std::size_t>(entry)); }
    // The name under which a log's document holds the entry's picture;
    // entries with the same file share it.
    static QUrl resourceName(int entry);

private:
    std::array<QImage, kChatPictureCount> images_;
};

// How a log shows tokens: the table and the user's smiley switch.
struct ChatPictures {
    const ChatPictureTable& table;
    bool shown = true;
};

// Appends one line: the sender in bold in its colour, then the message in its
// colour, bold as asked, with pictures for tokens when they are shown, in
// "Verdana" 8.25 pt. A line starts a new paragraph when the log holds text.
// The user's selection is kept, the log scrolls to its bottom, and its oldest
// lines make room once it holds more than kChatLogLimit characters. A token
// whose picture did not load stays text.
void AppendChatLine(QTextEdit& log, const ChatPictures& pictures, std::string_view sender, std::string_view message,
                    QColor senderColour, QColor textColour, bool textBold);

} // namespace tessaly
