#include "client/table/TableSpeech.h"

#include "client/table/SpokenTexts.h"
#include "client/table/TableState.h"
#include "client/ui/Announcer.h"
#include "platform/sys/QtText.h"

namespace tessaly {

TableSpeech::TableSpeech(QWidget& window, TableSpeechContext context)
    : QObject(&window), context_(std::move(context)), announcer_(new Announcer(&window))
{
}

void TableSpeech::frameStep()
{
    const TableState& T = context_.table;
    // Cheap looks first: the texts are made only when something changed.
    const bool live = T.userSeatedHere == 1 && isSeat(T.userSeat) && T.ownCardsLive[static_cast<std::size_t>(T.userSeat)] != 0;
    const Dealt dealt{live, T.ownCards[0], T.ownCards[1]};
    if (dealt != dealt_) {
        dealt_ = dealt;
        if (live)
            tell(myCardsText(T));
    }
    const bool asked = T.userSeatedHere == 1 && (T.userToAct == 1 || T.bragOffered == 1 || T.showLostOffered == 1);
    const Asked prompt{asked, asked ? T.promptKind : 0, T.bragOffered, T.showLostOffered};
    const bool arrived = asked && prompt != prompt_;
    prompt_ = prompt;
    if (!arrived)
        return;
    if (context_.bringForward)
        context_.bringForward();
    if (context_.preferences.speakTableEvents)
        if (const std::optional<std::string> text = promptText(T))
            say(*text);
}

void TableSpeech::tell(const std::string& text)
{
    if (context_.preferences.speakTableEvents)
        say(text);
}

void TableSpeech::handEvent(const HandEvent& event)
{
    if (!context_.preferences.speakTableEvents)
        return;
    if (const std::optional<std::string> text = spokenEvent(event, context_.table))
        say(*text);
}

void TableSpeech::ask(TableCommand command)
{
    const TableState& T = context_.table;
    switch (command) {
    case TableCommand::MyCards: say(myCardsText(T)); break;
    case TableCommand::Board: say(boardText(T)); break;
    case TableCommand::PotAndCall: say(potText(T)); break;
    case TableCommand::Repeat:
        if (!announcer_->last().isEmpty())
            announcer_->announce(announcer_->last());
        break;
    default: break;
    }
}

void TableSpeech::askSeat(int seat)
{
    say(seatText(context_.table, seat));
}

void TableSpeech::say(const std::string& text)
{
    announcer_->announce(toQString(text));
}

} // namespace tessaly
