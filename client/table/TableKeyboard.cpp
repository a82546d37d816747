#include "client/table/TableKeyboard.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QTextEdit>

#include "client/table/BetPresetButtons.h"
#include "client/table/BettingControls.h"
#include "client/table/SeatButtons.h"
#include "client/table/SeatLayout.h"
#include "client/table/SpokenTexts.h"
#include "client/table/TableChat.h"
#include "client/table/TableState.h"
#include "client/ui/FocusRing.h"
#include "client/ui/SkinButton.h"
#include "platform/sys/QtText.h"

namespace tessaly {

using namespace betting;

// A seat as the keyboard reaches it: invisible to the mouse (a right click
// still reaches the window's player menu), drawn only as the focus ring.
class SeatSpot final : public QAbstractButton {
public:
    SeatSpot(QWidget* parent, int seatCount, int seat) : QAbstractButton(parent), seatCount_(seatCount), seat_(seat)
    {
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleDescription(QStringLiteral("Menu key: the player menu"));
        // Named before the first frame fills in who sits there.
        setAccessibleName(QStringLiteral("Seat %1").arg(seat + 1));
        hide();
    }
    int seatCount() const { return seatCount_; }
    int seat() const { return seat_; }
    std::function<void()> openMenu;

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (hasFocus()) {
            QPainter painter(this);
            drawFocusRing(painter, rect());
        }
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        const bool menuKey = event->key() == Qt::Key_Menu ||
                             (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
        if (menuKey && openMenu) {
            openMenu();
            event->accept();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    int seatCount_;
    int seat_;
};

namespace {

// The controls each command acts on, as the tips name them.
struct KeyedControl {
    int control;
    TableCommand command;
};
constexpr KeyedControl kKeyedControls[] = {
    {kRightAction, TableCommand::Fold},      {kLeftAction, TableCommand::CheckCall},
    {kMiddleAction, TableCommand::BetRaise}, {kLeftPost, TableCommand::CheckCall},
    {kRightPost, TableCommand::Fold},        {kHalfPot, TableCommand::HalfPot},
    {kHalfPot + 1, TableCommand::ThreeQuarterPot}, {kHalfPot + 2, TableCommand::Pot},
    {kHalfPot + 3, TableCommand::Max},       {kImBack, TableCommand::SitOut},
    {kDealMeOutMark, TableCommand::SitOut},
};

constexpr Qt::Key kSeatKeys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                             Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9, Qt::Key_0};

} // namespace

TableKeyboard::TableKeyboard(QWidget& window, TableKeyboardContext context)
    : QObject(&window), window_(window), context_(std::move(context))
{
    const ScreenScale scale = context_.controls.scale();
    for (const int seatCount : {10, 6}) {
        for (int seat = 0; seat < seatCount; ++seat) {
            auto* spot = new SeatSpot(&window_, seatCount, seat);
            const TablePoint box = seatPoint(SeatGroup::PlayerBox, seatCount, seat);
            spot->setGeometry(scaledX(box.x, scale.x), scaledY(box.y, scale.y), kPlayerBoxWidth, kPlayerBoxHeight);
            spot->openMenu = [this, seat, spot] {
                if (context_.seatMenu)
                    context_.seatMenu(seat, spot);
            };
            spots_.push_back(spot);
        }
    }
    for (int i = 0; i < kSeatCount; ++i) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | kSeatKeys[i]), &window_);
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            if (context_.askSeat)
                context_.askSeat(i);
        });
    }
    orderTabs();
    frameStep();
    describeSeats();
}

TableKeyboard::~TableKeyboard() = default;

QWidget* TableKeyboard::seatSpot(int seat) const
{
    const int layout = layoutSeats(context_.table.seatCount);
    for (SeatSpot* spot : spots_)
        if (spot->seatCount() == layout && spot->seat() == seat)
            return spot;
    return nullptr;
}

void TableKeyboard::frameStep()
{
    if (context_.preferences.revision == revision_)
        return;
    revision_ = context_.preferences.revision;
    bindKeys();
    describeKeys();
}

void TableKeyboard::describeSeats()
{
    const TableState& T = context_.table;
    const int layout = layoutSeats(T.seatCount);
    for (SeatSpot* spot : spots_) {
        const int seat = spot->seat();
        // A free seat with its "take a seat" button is reached through that.
        const bool free = T.seatOccupied[static_cast<std::size_t>(seat)] == 0;
        const bool shown = spot->seatCount() == layout && !(free && T.userSeatedHere != 1);
        if (spot->isHidden() == shown)
            spot->setVisible(shown);
        if (!shown)
            continue;
        const QString name = toQString(seatText(T, seat));
        if (spot->accessibleName() != name)
            spot->setAccessibleName(name);
    }
}

void TableKeyboard::bindKeys()
{
    for (QShortcut* shortcut : shortcuts_)
        delete shortcut;
    shortcuts_.clear();
    for (const TableCommandInfo& c : tableCommands()) {
        const std::string& key = context_.preferences.hotkeys.key(c.command);
        if (key.empty())
            continue;
        auto* shortcut = new QShortcut(QKeySequence(toQString(key), QKeySequence::PortableText), &window_);
        connect(shortcut, &QShortcut::activated, this, [this, command = c.command] { run(command); });
        shortcuts_.push_back(shortcut);
    }
}

void TableKeyboard::describeKeys()
{
    const Hotkeys& keys = context_.preferences.hotkeys;
    for (const KeyedControl& k : kKeyedControls) {
        QWidget* control = context_.controls.control(k.control);
        if (control == nullptr)
            continue;
        QString key = toQString(keys.key(k.command));
        // The left post button is "All In" when calling is all in.
        if (k.control == kLeftPost)
            key += QStringLiteral(", All In: ") + toQString(keys.key(TableCommand::AllIn));
        if (k.control == kRightPost)
            key += QStringLiteral(", Sit Out: ") + toQString(keys.key(TableCommand::SitOut));
        if (k.control == kMiddleAction)
            key += QStringLiteral(", All In: ") + toQString(keys.key(TableCommand::AllIn));
        const QString tip = QStringLiteral("Key: ") + key;
        control->setAccessibleDescription(tip);
        if (auto* skin = qobject_cast<SkinButton*>(control))
            skin->setTooltipText(tip);
        else
            control->setToolTip(tip);
    }
}

// Action buttons first, then the presets, the slider and the amount, the
// chat, the options, the offers, the seats and the window's own buttons.
void TableKeyboard::orderTabs()
{
    std::vector<QWidget*> chain;
    auto add = [&](int id) {
        if (QWidget* control = context_.controls.control(id); control != nullptr && control->focusPolicy() != Qt::NoFocus)
            chain.push_back(control);
    };
    for (const int id : std::initializer_list<int>{kLeftAction, kMiddleAction, kRightAction, kLeftPost, kRightPost, kHalfPot, kHalfPot + 1,
                         kHalfPot + 2, kHalfPot + 3, kRaiseSlider, kAmountBox, kChatInput, kChatFilter,
                         kFoldCheckMark, kAutoPostMark, kMuckLosingMark, kDealMeOutMark, kImBack, kShow, kMuck,
                         kShowLost, kMuckLost})
        add(id);
    for (int seat = 0; seat < 10; ++seat)
        add(SeatButtons::kFirstTenSeatId + seat);
    for (int seat = 0; seat < 6; ++seat)
        add(SeatButtons::kFirstSixSeatId + seat);
    for (SeatSpot* spot : spots_)
        chain.push_back(spot);
    for (const int id : {1032, 1033, 1060, 1034})   // Get More Chips, View Lobby, Invite A Friend, Leave Table
        add(id);
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QAbstractButton* TableKeyboard::shownButton(int control) const
{
    auto* button = qobject_cast<QAbstractButton*>(context_.controls.control(control));
    return button != nullptr && button->isVisible() && button->isEnabled() ? button : nullptr;
}

void TableKeyboard::press(int control)
{
    if (QAbstractButton* button = shownButton(control))
        button->click();
}

void TableKeyboard::run(TableCommand command)
{
    const TableState& T = context_.table;
    const int kind = T.promptKind;
    const bool blind = kind == kPromptBigBlind || kind == kPromptSmallBlind;
    const bool betting = kind == kPromptCheckOrBet || kind == kPromptCallOrRaise;
    switch (command) {
    case TableCommand::Fold: press(kind == kPromptAllInOrFold ? kRightPost : kRightAction); break;
    case TableCommand::CheckCall: press(blind ? kLeftPost : kLeftAction); break;
    case TableCommand::BetRaise:
        if (betting)
            press(kMiddleAction);
        break;
    case TableCommand::AllIn:
        if (kind == kPromptCallOnly)
            press(kMiddleAction);
        else if (kind == kPromptAllInOrFold)
            press(kLeftPost);
        else if (betting && T.gameType == kGameNoLimit && shownButton(kMiddleAction) != nullptr) {
            context_.presets.choose(BetPreset::Max);
            press(kMiddleAction);
        }
        break;
    case TableCommand::HalfPot: press(kHalfPot); break;
    case TableCommand::ThreeQuarterPot: press(kHalfPot + 1); break;
    case TableCommand::Pot: press(kHalfPot + 2); break;
    case TableCommand::Max: press(kHalfPot + 3); break;
    case TableCommand::SitOut:
        if (blind && T.userToAct == 1)
            press(kRightPost);
        else if (shownButton(kImBack) != nullptr)
            press(kImBack);
        else
            press(kDealMeOutMark);
        break;
    case TableCommand::MyCards:
    case TableCommand::Board:
    case TableCommand::PotAndCall:
    case TableCommand::Repeat:
        if (context_.ask)
            context_.ask(command);
        break;
    }
}

} // namespace tessaly
