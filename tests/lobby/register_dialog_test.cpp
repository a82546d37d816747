// The registration form: the three rules' boxes in order, the line sent
// only when all pass, the field limit, Enter, and its end after the
// server's acceptance.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "client/lobby/RegisterDialog.h"
#include "tests/lobby/AccountFixture.h"

namespace tessaly {
namespace {

constexpr const char* kBadName = "Please enter a valid screen-name\rCan only contain digits and letters.";
constexpr const char* kBadPassword = "Please enter a password\rCan only contain digits and letters.";
constexpr const char* kBadEmail = "Please enter a valid email!\rMust include the @ and the domain name.";

class RegisterDialogTest : public AccountFixture {
protected:
    void fill(registerDlg& form, const char* name, const char* password, const char* email)
    {
        QTest::keyClicks(form.edit(1037), QString::fromLatin1(name));
        QTest::keyClicks(form.edit(1038), QString::fromLatin1(password));
        QTest::keyClicks(form.edit(1043), QString::fromLatin1(email));
    }
};

TEST_F(RegisterDialogTest, SubmitShowsEveryFailedRuleInOrderAndSendsOnlyWhenAllPass)
{
    const struct {
        const char* name;
        const char* password;
        const char* email;
        std::vector<std::string> boxes;
        std::vector<std::string> sent{};
    } cases[] = {
        {"ann4", "pw12", " ann@mail.example.org ", {}, {"REGISTER_PLAYER:\tann4\tpw12\t ann@mail.example.org \r"}},
        {"ann_4", "pw12", "ann@mail.example", {kBadName}},
        {"ann4", "123456789012345678901", "ann@mail.example", {kBadPassword}},
        {"ann4", "pw12", "ann@mail..example", {kBadEmail}},
        {"", "", "", {kBadName, kBadPassword, kBadEmail}},
        {"a b", "p-w", "ann@example", {kBadName, kBadPassword, kBadEmail}},
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        sender.lines.clear();
        registerDlg form(context);
        form.show();
        fill(form, c.name, c.password, c.email);
        QTest::keyClicks(form.edit(1042), QStringLiteral("different"));   // neither checked nor sent
        QTest::mouseClick(form.button(1002), Qt::LeftButton);
        EXPECT_EQ(boxes.texts(), c.boxes) << c.name;
        for (const BoxRequest& box : boxes.shown) {
            EXPECT_EQ(box.caption, "Tessaly message");
            EXPECT_EQ(box.icon, BoxIcon::None);
            EXPECT_TRUE(box.systemModal);
        }
        EXPECT_EQ(sender.lines, c.sent) << c.name;
        EXPECT_TRUE(form.isVisible());
    }
}

TEST_F(RegisterDialogTest, ScreenNameFieldTakesSixteenCharactersAndEnterDoesNothing)
{
    registerDlg form(context);
    form.show();
    QTest::keyClicks(form.edit(1037), QStringLiteral("abcdefghijklmnopq"));
    EXPECT_EQ(form.edit(1037)->text(), QStringLiteral("abcdefghijklmnop"));
    QTest::keyClicks(form.edit(1038), QStringLiteral("pw12"));
    QTest::keyClicks(form.edit(1043), QStringLiteral("a@b.cd"));
    for (int focus : {1037, 1043, 1002, 1003}) {
        form.control(focus)->setFocus();
        QTest::keyClick(form.focusWidget(), Qt::Key_Return);
        EXPECT_TRUE(form.isVisible()) << focus;
    }
    EXPECT_TRUE(sender.lines.empty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RegisterDialogTest, ClosesOnTheTickAfterTheAcceptanceAndStaysAfterARefusal)
{
    registerDlg form(context);
    form.show();
    fill(form, "ann4", "pw12", "ann@mail.example");
    QTimer* poll = pollTimer(form, "registrationPoll");
    ASSERT_NE(poll, nullptr);
    EXPECT_EQ(poll->interval(), 500);
    QSignalSpy ticks(poll, &QTimer::timeout);

    serverSays("REG_FAIL");
    ASSERT_TRUE(waitUntil([&] { return ticks.count() >= 2; }));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.edit(1043)->text(), QStringLiteral("ann@mail.example"));

    serverSays("REG_SUCCESS");
    ticks.clear();
    ASSERT_TRUE(waitUntil([&] { return !form.isVisible(); }));
    EXPECT_EQ(ticks.count(), 1);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(state.session.registrationDone, 0);
    EXPECT_FALSE(poll->isActive());
}

TEST_F(RegisterDialogTest, EachOpeningStartsEmptyAndIgnoresAnOldAcceptance)
{
    registerDlg form(context);
    form.show();
    fill(form, "ann4", "pw12", "ann@mail.example");
    form.checkBox(1016)->setChecked(true);
    QTest::mouseClick(form.button(1003), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);

    state.session.registrationDone = 1;   // accepted after the form was cancelled
    form.show();
    QSignalSpy ticks(pollTimer(form, "registrationPoll"), &QTimer::timeout);
    ASSERT_TRUE(waitUntil([&] { return ticks.count() >= 1; }));
    EXPECT_TRUE(form.isVisible());
    for (int id : {1037, 1038, 1042, 1043, 1044})
        EXPECT_TRUE(form.edit(id)->text().isEmpty()) << id;
    EXPECT_FALSE(form.checkBox(1016)->isChecked());
    EXPECT_EQ(form.focusWidget(), form.edit(1037));
}

} // namespace
} // namespace tessaly
