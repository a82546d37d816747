#pragma once
// The table window's chat: the log 1073 that shows every chat and dealer
// line of the table, the input 1012 whose line goes to the server on Enter,
// the filter box 1013, the hand-history hot spots 1040 and 1041, and the
// menu 192 of a right click on a seated player.
//
// The window appends chatControls() to its template and builds one TableChat
// on its controls:
//
//     TableChat chat(*this, {table, session, tableId, sender, boxes, pictures, this, openLogin});
//     chat.frameStep();   // every frame
//     chat.sendInput();   // Enter, unless the raise box had it

#include <QPointer>
#include <functional>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/gui/DialogBuilder.h"

class QLineEdit;
class QMenu;
class QTextEdit;

namespace tessaly {

class ChatPictureTable;
class LineSender;
struct SessionValues;
struct TableState;

inline constexpr int kChatLog = 1073;
inline constexpr int kChatInput = 1012;
inline constexpr int kChatFilter = 1013;
inline constexpr int kThisHandSpot = 1040;
inline constexpr int kLastHandSpot = 1041;
inline constexpr int kTakePlayerNotes = 32804;
inline constexpr int kDisablePlayersChat = 32803;

inline constexpr const char* kChatLoginMessage = "Must be logged in to send a message!";
inline constexpr const char* kChatTooLongMessage = "Reduce size of message. To Long";
inline constexpr const char* kHandHistoriesMessage = "Hand histories will be soon available";

// The chat's controls of dialog 155, in the dialog's units.
std::vector<ControlTemplate> chatControls();
// Menu 192: one popup, "Take Player Notes" and "Disable Players' Chat".
const MenuTemplate& playerMenuTemplate();
// The popup of menu 192 owned by `owner`; "Take Player Notes" runs
// takeNotes, "Disable Players' Chat" does nothing. The caller shows it
// (popup() or exec() at the click); it deletes itself once closed.
QMenu* playerMenu(QWidget* owner, std::function<void()> takeNotes);

struct TableChatContext {
    TableState& table;
    SessionValues& session;
    int tableId;
    LineSender& sender;
    MessageBoxes& boxes;
    const ChatPictureTable& pictures;
    QWidget* owner;                   // owner of the boxes
    std::function<void()> showLogin;  // opens the login dialog, or brings it forward
};

class TableChat {
public:
    TableChat(const ControlMap& controls, TableChatContext context);
    TableChat(const TableChat&) = delete;
    TableChat& operator=(const TableChat&) = delete;

    // Moves every line waiting in the table's record into the log, in
    // order, takes the hand numbers from the dealer's lines, and clears
    // chatSender and chatText.
    void frameStep();
    // The input's line: nothing when empty, the login first when logged
    // out, refused when too long; else sent and the input cleared.
    void sendInput();

    QTextEdit* log() const { return log_; }
    QLineEdit* input() const { return input_; }

private:
    void append(std::string_view sender, std::string_view text);

    TableChatContext context_;
    QPointer<QTextEdit> log_;
    QPointer<QLineEdit> input_;
};

} // namespace tessaly
