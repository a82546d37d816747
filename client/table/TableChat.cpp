#include "client/table/TableChat.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTextEdit>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "client/table/TableChatRules.h"
#include "client/ui/ChatLog.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"
#include "platform/sys/Trace.h"

namespace tessaly {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

// The filter box has no effect and stays hidden under the log. The hot spots
// lie over the two hand-number lines drawn at the top left
// (y 0 and 12 pixels, 12 pixels high).
const std::vector<ControlTemplate> kChatControls{
    {.id = kChatLog, .kind = ControlKind::RichEdit, .rect = {127, 284, 134, 34},
     .flags = ctl::ReadOnly | ctl::VScroll},
    {.id = kChatInput, .kind = ControlKind::Edit, .rect = {127, 320, 134, 12}},
    {.id = kChatFilter, .kind = ControlKind::ComboBox, .rect = {127, 284, 134, 12}, .text = "Dealer - Everything",
     .flags = ctl::Hidden},
    {.id = kThisHandSpot, .kind = ControlKind::HotSpotButton, .rect = {3, 0, 80, 8}},
    {.id = kLastHandSpot, .kind = ControlKind::HotSpotButton, .rect = {3, 8, 80, 7}},
};

const MenuTemplate kPlayerMenu{
    .resource = 192,
    .items = {{.items = {{.text = "Take Player Notes", .id = kTakePlayerNotes},
                         {.text = "Disable Players' Chat", .id = kDisablePlayersChat}}}},
};

} // namespace

std::vector<ControlTemplate> chatControls() { return kChatControls; }

const MenuTemplate& playerMenuTemplate() { return kPlayerMenu; }

QMenu* playerMenu(QWidget* owner, std::function<void()> takeNotes)
{
    QMenu* menu = buildPopupMenu(kPlayerMenu.items.front(), owner);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(menu, &QMenu::triggered, menu, [takeNotes = std::move(takeNotes)](QAction* action) {
        if (commandId(action) == kTakePlayerNotes)
            takeNotes();
    });
    return menu;
}

TableChat::TableChat(const ControlMap& controls, TableChatContext context)
    : context_(std::move(context)), log_(controls.richEdit(kChatLog)), input_(controls.edit(kChatInput))
{
    log_->setAccessibleName(QStringLiteral("Chat log"));
    log_->setFont(pointFont("Verdana", 8.25));
    input_->setAccessibleName(QStringLiteral("Chat"));
    if (QComboBox* filter = controls.comboBox(kChatFilter)) {
        filter->setAccessibleName(QStringLiteral("Chat filter"));
        filter->view()->setAccessibleName(QStringLiteral("Chat filter"));
    }
    MessageBoxes& boxes = context_.boxes;
    QWidget* owner = context_.owner;
    for (const int spot : {kThisHandSpot, kLastHandSpot}) {
        auto* button = controls.control<QAbstractButton>(spot);
        button->setAccessibleName(spot == kThisHandSpot ? QStringLiteral("This Hand") : QStringLiteral("Last Hand"));
        QObject::connect(button, &QAbstractButton::clicked, button, [&boxes, owner] {
            BoxRequest box{kHandHistoriesMessage, ""};
            box.owner = owner;
            boxes.show(box);
        });
    }
}

void TableChat::append(std::string_view sender, std::string_view text)
{
    const ChatPictures pictures{context_.pictures, context_.session.smileysShown != 0};
    switch (chatLineKind(sender, text)) {
    case ChatLineKind::DealerResult:
        AppendChatLine(*log_, pictures, "Dealer: ", text, kBlack, kBlue, true);
        takeHandNumbers(context_.table, text);
        break;
    case ChatLineKind::Dealer:
        AppendChatLine(*log_, pictures, "Dealer: ", text, kBlack, kBlack, false);
        takeHandNumbers(context_.table, text);
        break;
    case ChatLineKind::Player:
        AppendChatLine(*log_, pictures, std::string(sender) + ": ", text, kBlue, kBlue, false);
        break;
    }
}

void TableChat::frameStep()
{
    TableState& T = context_.table;
    while (!T.chatQueue.empty()) {
        const ChatLine line = std::move(T.chatQueue.front());
        T.chatQueue.pop_front();
        if (!line.sender.empty() && log_)
            append(line.sender, line.text);
    }
    T.chatSender.clear();
    T.chatText.clear();
}

void TableChat::sendInput()
{
    if (!input_)
        return;
    const std::string text = toUtf8(input_->text());
    switch (chatInputVerdict(text, context_.session.loggedIn == 1)) {
    case ChatInputVerdict::Nothing:
        trace("No message");
        return;
    case ChatInputVerdict::LogIn: {
        BoxRequest box{kChatLoginMessage, "Tessaly Message"};
        box.icon = BoxIcon::Information;
        box.systemModal = true;
        box.owner = context_.owner;
        context_.boxes.show(box);
        if (context_.showLogin)
            context_.showLogin();
        return;
    }
    case ChatInputVerdict::TooLong: {
        BoxRequest box{kChatTooLongMessage, "Tessaly"};
        box.owner = context_.owner;
        context_.boxes.show(box);
        return;
    }
    case ChatInputVerdict::Send:
        context_.sender.sendLine(chatMessage(context_.session.screenName, context_.tableId, chatWireText(text)));
        input_->clear();
        return;
    }
}

} // namespace tessaly
