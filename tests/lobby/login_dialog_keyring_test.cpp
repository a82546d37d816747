// The login dialog over a keyring (run by tests/support/with-secret-service):
// what the user sees is the same as with the file alone.

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "client/lobby/LoginDialog.h"
#include "platform/secrets/SecretServiceStore.h"
#include "tests/lobby/AccountFixture.h"
#include "tests/support/SecretService.h"

namespace tessaly {
namespace {

class LoginDialogWithKeyring : public AccountFixture {
protected:
    void SetUp() override
    {
        if (const std::string missing = secretServiceMissing(); !missing.empty())
            GTEST_SKIP() << missing;
        ASSERT_TRUE(keyring.forgetAll());
    }

    void submit(bool remember)
    {
        dlgLogin login(withKeyring);
        login.show();
        login.edit(1012)->setText(QStringLiteral("ann4"));
        login.edit(1036)->setText(QStringLiteral("s3cret"));
        login.checkBox(1016)->setChecked(remember);
        QTest::mouseClick(login.button(1003), Qt::LeftButton);
    }

    SecretServiceStore keyring{kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel};
    QString file = folder.filePath(QStringLiteral("Tessaly.conf"));
    RememberedLogin inKeyring{keyring, file};
    AccountContext withKeyring{state, sender, boxes, inKeyring};
};

TEST_F(LoginDialogWithKeyring, TheNextStartFillsBothFieldsAndUntickingForgetsThem)
{
    submit(true);
    EXPECT_EQ(keyring.find("ann4"), "s3cret");
    EXPECT_FALSE(QSettings(file, QSettings::IniFormat).contains(QStringLiteral("password")));
    {
        dlgLogin next(withKeyring);
        EXPECT_TRUE(next.checkBox(1016)->isChecked());
        EXPECT_EQ(next.edit(1012)->text(), QStringLiteral("ann4"));
        EXPECT_EQ(next.edit(1036)->text(), QStringLiteral("s3cret"));
    }
    submit(false);
    EXPECT_EQ(keyring.find("ann4"), std::nullopt);
    dlgLogin after(withKeyring);
    EXPECT_FALSE(after.checkBox(1016)->isChecked());
    EXPECT_EQ(after.edit(1012)->text(), QString());
    EXPECT_EQ(after.edit(1036)->text(), QString());
}

} // namespace
} // namespace tessaly
