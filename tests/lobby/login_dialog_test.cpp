// The login dialog: the remembered pair at opening, the login line, Enter,
// the refusal of texts that do not fit, and its end after the server's
// acceptance.

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "client/lobby/LoginDialog.h"
#include "client/lobby/RegisterDialog.h"
#include "tests/lobby/AccountFixture.h"

namespace tessaly {
namespace {

class LoginDialogTest : public AccountFixture {
protected:
    void type(dlgLogin& login, const QString& name, const QString& password)
    {
        login.edit(1012)->clear();
        QTest::keyClicks(login.edit(1012), name);
        login.edit(1036)->clear();
        QTest::keyClicks(login.edit(1036), password);
    }
};

TEST_F(LoginDialogTest, OpensWithTheRememberedPair)
{
    const struct {
        const char* what;
        LoginPair stored;
        bool ticked;
        const char* name;
        const char* password;
    } cases[] = {
        {"nothing stored", {}, false, "", ""},
        {"name and password", {"ann4", "s3cret"}, true, "ann4", "s3cret"},
        {"name without password", {"ann4", ""}, true, "ann4", ""},
        {"password without name", {"", "s3cret"}, false, "", ""},
    };
    for (const auto& c : cases) {
        remembered.write(c.stored);
        dlgLogin login(context);
        EXPECT_EQ(login.checkBox(1016)->isChecked(), c.ticked) << c.what;
        EXPECT_EQ(login.edit(1012)->text(), QString::fromLatin1(c.name)) << c.what;
        EXPECT_EQ(login.edit(1036)->text(), QString::fromLatin1(c.password)) << c.what;
        EXPECT_EQ(login.edit(1036)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(login.focusWidget(), login.edit(1012)) << c.what;
    }
}

TEST_F(LoginDialogTest, SubmitSendsTheLoginAndRemembersOrForgetsThePair)
{
    remembered.write({"old", "oldpw"});
    const struct {
        bool tick;
        LoginPair storedAfter;
    } cases[] = {{true, {"bob", "pa ss"}}, {false, {}}};
    for (const auto& c : cases) {
        sender.lines.clear();
        dlgLogin login(context);
        login.show();
        type(login, QStringLiteral("bob"), QStringLiteral("pa ss"));
        login.checkBox(1016)->setChecked(c.tick);
        QTest::mouseClick(login.button(1003), Qt::LeftButton);
        EXPECT_EQ(sender.lines, std::vector<std::string>{"LOGIN:\tbob\tpa ss\r"});
        EXPECT_EQ(state.session.screenName.str(), "bob");
        const LoginPair stored = remembered.read();
        EXPECT_EQ(stored.screenName, c.storedAfter.screenName);
        EXPECT_EQ(stored.password, c.storedAfter.password);
        // The next start shows what was remembered.
        dlgLogin next(context);
        EXPECT_EQ(next.checkBox(1016)->isChecked(), c.tick);
        EXPECT_EQ(next.edit(1036)->text(), QString::fromStdString(c.storedAfter.password));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoginDialogTest, EnterAnywhereSubmitsOnce)
{
    for (int focus : {1012, 1036, 1016, 1003, 1005, 1006}) {
        sender.lines.clear();
        dlgLogin login(context);
        login.show();
        login.control(focus)->setFocus();
        QTest::keyClick(login.focusWidget(), Qt::Key_Return);
        // Empty fields go as empty fields.
        EXPECT_EQ(sender.lines, std::vector<std::string>{"LOGIN:\t\t\r"}) << focus;
        EXPECT_TRUE(login.isVisible()) << focus;
    }
    EXPECT_TRUE(boxes.shown.empty());   // not the Forgot password box
}

TEST_F(LoginDialogTest, TextsThatDoNotFitAreRefusedBeforeAnythingHappens)
{
    remembered.write({"kept", "keptpw"});
    state.session.screenName = "before";
    dlgLogin login(context);
    login.edit(1012)->setText(QString(200, QLatin1Char('n')));
    login.edit(1036)->setText(QString(47, QLatin1Char('p')));   // 247 together, one too many
    login.button(1003)->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "Your screen name and password are too long.\rTogether they can have at most 246 characters.");
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Stop);
    EXPECT_TRUE(sender.lines.empty());
    EXPECT_EQ(state.session.screenName.str(), "before");
    EXPECT_EQ(remembered.read().screenName, "kept");

    login.edit(1036)->setText(QString(46, QLatin1Char('p')));
    login.button(1003)->click();
    EXPECT_EQ(sender.lines.size(), 1u);
}

TEST_F(LoginDialogTest, ForgotPasswordExplainsTheBeta)
{
    dlgLogin login(context);
    QTest::mouseClick(login.button(1005), Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "We apologize but while running our beta test, if you can no longer remember your "
                                   "screenname/password, please register another account.");
    EXPECT_EQ(boxes.shown[0].caption, "Tessaly Message");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
    EXPECT_TRUE(sender.lines.empty());
}

TEST_F(LoginDialogTest, AcceptedLoginDestroysTheDialogOnTheNextTickARefusedOneKeepsIt)
{
    QPointer<dlgLogin> login = new dlgLogin(context);
    login->show();
    login->edit(1012)->setText(QStringLiteral("ann4"));
    QTimer* poll = pollTimer(*login, "loginPoll");
    ASSERT_NE(poll, nullptr);
    EXPECT_EQ(poll->interval(), 150);
    QSignalSpy ticks(poll, &QTimer::timeout);

    serverSays("LOGIN_FAIL");
    ASSERT_TRUE(waitUntil([&] { return ticks.count() >= 2; }));
    ASSERT_FALSE(login.isNull());
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->edit(1012)->text(), QStringLiteral("ann4"));

    serverSays("LOGIN_SUCCESS");
    ticks.clear();
    ASSERT_TRUE(waitUntil([&] { return login.isNull(); }));
    EXPECT_EQ(ticks.count(), 1);
}

TEST_F(LoginDialogTest, TitleBarCloseOnlyHidesAndTheCommandsShowItAgain)
{
    dlgLogin login(context);
    login.show();
    login.close();
    EXPECT_FALSE(login.isVisible());
    login.edit(1036)->setFocus();
    login.focusScreenName();
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(login.focusWidget(), login.edit(1012));
}

TEST_F(LoginDialogTest, RegisterAccountRunsItsOneFormAgainOnEachClick)
{
    dlgLogin login(context);
    login.show();
    std::vector<QDialog*> forms;
    for (int round = 0; round < 2; ++round) {
        whileModal([&](QDialog& modal) {
            forms.push_back(&modal);
            auto* form = qobject_cast<registerDlg*>(&modal);
            ASSERT_NE(form, nullptr);
            EXPECT_TRUE(form->edit(1037)->text().isEmpty());   // each opening starts empty
            QTest::keyClicks(form->edit(1037), QStringLiteral("typed"));
        });
        QTest::mouseClick(login.button(1006), Qt::LeftButton);
    }
    ASSERT_EQ(forms.size(), 2u);
    EXPECT_EQ(forms[0], forms[1]);
    EXPECT_EQ(forms[0]->parent(), &login);
}

TEST_F(LoginDialogTest, AnAcceptedRegistrationLeavesItsNameReadyForThePassword)
{
    const struct {
        const char* what;
        const char* reply;
        const char* name;
        const char* password;
        int focus;
    } cases[] = {
        {"accepted", "REG_SUCCESS", "newbie7", "", 1036},
        {"refused, then cancelled", "REG_FAIL", "ann4", "s3cret", 1012},
    };
    for (const auto& c : cases) {
        remembered.write({"ann4", "s3cret"});
        dlgLogin login(context);
        login.show();
        whileModal([&](QDialog& modal) {
            auto* form = qobject_cast<registerDlg*>(&modal);
            ASSERT_NE(form, nullptr);
            QTest::keyClicks(form->edit(1037), QStringLiteral("newbie7"));
            QTest::keyClicks(form->edit(1038), QStringLiteral("pw12"));
            QTest::keyClicks(form->edit(1043), QStringLiteral("new@mail.example"));
            QTest::mouseClick(form->button(1002), Qt::LeftButton);
            serverSays(c.reply);
            QSignalSpy ticks(pollTimer(modal, "registrationPoll"), &QTimer::timeout);
            ASSERT_TRUE(waitUntil([&] { return !modal.isVisible() || ticks.count() >= 2; }));
        });
        QTest::mouseClick(login.button(1006), Qt::LeftButton);
        EXPECT_EQ(login.edit(1012)->text(), QString::fromLatin1(c.name)) << c.what;
        EXPECT_EQ(login.edit(1036)->text(), QString::fromLatin1(c.password)) << c.what;
        EXPECT_EQ(login.focusWidget(), login.edit(c.focus)) << c.what;
    }
}

// Accepts the login while the box is up and waits two login ticks.
class AcceptingBoxes final : public MessageBoxes {
public:
    explicit AcceptingBoxes(std::function<void()> whileShown) : whileShown_(std::move(whileShown)) {}
    BoxAnswer show(const BoxRequest&) override
    {
        whileShown_();
        return BoxAnswer::Ok;
    }

private:
    std::function<void()> whileShown_;
};

TEST_F(LoginDialogTest, AnAcceptanceWaitsForTheWindowItRunsModally)
{
    for (int command : {1006, 1005}) {
        state.session.loggedIn = 0;
        QPointer<dlgLogin> login;
        bool aliveWhileModal = false;
        const auto acceptAndWait = [&] {
            state.session.loggedIn = 1;
            QSignalSpy ticks(pollTimer(*login, "loginPoll"), &QTimer::timeout);
            ASSERT_TRUE(waitUntil([&] { return ticks.count() >= 2; }));
            aliveWhileModal = !login.isNull();
        };
        AcceptingBoxes accepting(acceptAndWait);
        AccountContext withBoxes{state, sender, accepting, remembered};
        login = new dlgLogin(withBoxes);
        login->show();
        if (command == 1006)
            whileModal([&](QDialog&) { acceptAndWait(); });
        login->button(command)->click();
        EXPECT_TRUE(aliveWhileModal) << command;
        ASSERT_TRUE(waitUntil([&] { return login.isNull(); })) << command;
    }
}

} // namespace
} // namespace tessaly
