// What a screen reader finds in the lobby and its dialogs: every interactive
// control has a name (tests/support/AccessibleTree.h walks the accessibility
// tree in process), and the lists are read with their headings. A window
// added later joins these tests.

#include <QAccessible>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "client/lobby/AboutDialog.h"
#include "client/lobby/CashierDialog.h"
#include "client/lobby/LoginDialog.h"
#include "client/lobby/RegisterDialog.h"
#include "client/lobby/SoftwareNotesDialog.h"
#include "client/table/PokerRoomWindow.h"
#include "tests/lobby/AccountFixture.h"
#include "tests/lobby/LobbyFixture.h"
#include "tests/support/AccessibleTree.h"

namespace tessaly {
namespace {

using Names = std::vector<std::string>;

std::string nameOf(QWidget* widget)
{
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(widget);
    return node == nullptr ? std::string() : node->text(QAccessible::Name).toStdString();
}

class LobbyAccessibility : public LobbyFixture {};

TEST_F(LobbyAccessibility, EveryControlHasANameAndTheListsTheirHeadings)
{
    enterInstallDirectory();
    dlgLobby& window = openLobby();
    serverListsTables({{"Aces", 1, "1/2", 3, 10, 40}});
    EXPECT_EQ(unnamedInteractiveControls(&window), Names{});

    // Picture-only buttons by the word on their picture, hot spots and the
    // banner by what they do; the hidden buttons of the logged-in state too.
    const struct {
        int id;
        const char* name;
    } named[] = {
        {1006, "Login"},   {1078, "Sign Up"},    {1002, "Cashier"},  {1005, "Refresh"},
        {1003, "Help"},    {1011, "Logout"},     {1035, "My Account"},
        {1010, "Security"}, {1004, "About Us"}, {1077, "Links to the Tessaly web site"},
    };
    for (const auto& n : named)
        EXPECT_EQ(nameOf(window.control(n.id)), n.name) << n.id;

    EXPECT_EQ(nameOf(window.tableList()), "Tables");
    EXPECT_EQ(accessibleColumnHeadings(window.tableList()),
              (Names{"Table Name", "Game Type", "Stakes", "Players", "Seats", "Average Pot"}));
    EXPECT_EQ(nameOf(window.playerList()), "Players");
    EXPECT_EQ(accessibleColumnHeadings(window.playerList()), (Names{"#", "Name", "$"}));
}

TEST_F(LobbyAccessibility, TheTableWindowsControlsHaveNames)
{
    enterInstallDirectory();
    QWidget owner;
    TableWindowContext tableContext{state, sender, boxes, sound, pages, &owner, [] {}, chatPictures, notes};
    state.tables[2].seatCount = 10;
    state.session.openTableNames = {"Aces"};
    QPointer<dlgPokerRoom> table = new dlgPokerRoom(tableContext, 2, "Aces");
    table->show();
    EXPECT_EQ(unnamedInteractiveControls(table), Names{});
    delete table.data();
}

class DialogAccessibility : public AccountFixture {};

TEST_F(DialogAccessibility, EveryInteractiveControlOfEveryDialogHasAName)
{
    const struct {
        const char* window;
        std::function<std::unique_ptr<QWidget>()> open;
    } windows[] = {
        {"login", [&] { return std::make_unique<dlgLogin>(context); }},
        {"registration", [&] { return std::make_unique<registerDlg>(context); }},
        {"cashier", [&] { return std::make_unique<dlgCashier>(state, sender); }},
        {"software notes", [] { return std::make_unique<softwareNotesDlg>(); }},
        {"about", [&] { return std::make_unique<dlgAbout>(state); }},
    };
    for (const auto& w : windows) {
        const std::unique_ptr<QWidget> window = w.open();
        window->show();
        EXPECT_EQ(unnamedInteractiveControls(window.get()), Names{}) << w.window;
    }
}

TEST_F(DialogAccessibility, FieldsAreNamedByTheirLabels)
{
    dlgLogin login(context);
    EXPECT_EQ(nameOf(login.edit(1012)), "ScreenName");
    EXPECT_EQ(nameOf(login.edit(1036)), "Password");
    registerDlg registration(context);
    EXPECT_EQ(nameOf(registration.edit(1042)), "Verify Pw");
    EXPECT_EQ(nameOf(registration.edit(1044)), "Signup Code*");
}

} // namespace
} // namespace tessaly
