// The remembered login with a Secret Service on the session bus: the test
// runs under tests/support/with-secret-service, which gives it a private bus
// and an unlocked keyring of its own.

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "client/lobby/RememberedLogin.h"
#include "platform/secrets/SecretServiceStore.h"
#include "tests/support/SecretService.h"

namespace tessaly {
namespace {

class RememberedInKeyring : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string missing = secretServiceMissing(); !missing.empty())
            GTEST_SKIP() << missing;
        ASSERT_TRUE(keyring.forgetAll()) << "the keyring on the test's bus does not answer";
    }

    // What the file holds, read as the next run reads it.
    QString fileValue(const char* key) const
    {
        const QString copy = dir.filePath("copy.conf");
        QFile::remove(copy);
        QFile::copy(file(), copy);
        return QSettings(copy, QSettings::IniFormat).value(QLatin1String(key)).toString();
    }
    bool fileHasPassword() const
    {
        const QString copy = dir.filePath("copy.conf");
        QFile::remove(copy);
        QFile::copy(file(), copy);
        return QSettings(copy, QSettings::IniFormat).contains(QStringLiteral("password"));
    }
    QString file() const { return dir.filePath("Tessaly.conf"); }

    QTemporaryDir dir;
    SecretServiceStore keyring{kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel};
};

TEST_F(RememberedInKeyring, ThePasswordIsInTheKeyringAndTheNameInTheFile)
{
    std::string every;
    for (int b = 1; b < 256; ++b)
        every.push_back(static_cast<char>(b));
    const struct {
        const char* what;
        LoginPair pair;
    } cases[] = {
        {"letters and digits", {"joe12", "secret9"}},
        {"any byte", {"j\xc3\xb6rg", every}},
        {"a name without password", {"ann4", ""}},
    };
    for (const auto& c : cases) {
        RememberedLogin(keyring, file()).write(c.pair);
        EXPECT_EQ(keyring.find(c.pair.screenName), c.pair.password) << c.what;
        EXPECT_FALSE(fileHasPassword()) << c.what;
        EXPECT_EQ(fileValue("username").toStdString(), c.pair.screenName) << c.what;
        // The next start: a store of its own, as a new process has.
        SecretServiceStore nextRun(kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel);
        const LoginPair read = RememberedLogin(nextRun, file()).read();
        EXPECT_EQ(read.screenName, c.pair.screenName) << c.what;
        EXPECT_EQ(read.password, c.pair.password) << c.what;
    }
}

TEST_F(RememberedInKeyring, OnlyTheLastPairIsKept)
{
    RememberedLogin store(keyring, file());
    store.write({"first1", "pw1"});
    store.write({"second2", "pw2"});
    EXPECT_EQ(keyring.find("first1"), std::nullopt);
    EXPECT_EQ(keyring.find("second2"), "pw2");
}

TEST_F(RememberedInKeyring, AnEarlierVersionsFileLogsInAndMovesToTheKeyringOnTheNextSave)
{
    {
        QSettings earlier(file(), QSettings::IniFormat);
        earlier.setValue("username", "joe12");
        const std::string scrambled = scramblePassword("secret9");
        earlier.setValue("password", QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size())));
    }
    ASSERT_EQ(::chmod(QFile::encodeName(file()).constData(), 0644), 0);

    RememberedLogin store(keyring, file());
    const LoginPair found = store.read();
    EXPECT_EQ(found.screenName, "joe12");
    EXPECT_EQ(found.password, "secret9");

    store.write(found);   // "Remember" ticked and submitted
    EXPECT_FALSE(fileHasPassword());
    EXPECT_EQ(keyring.find("joe12"), "secret9");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(file()).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(RememberedInKeyring, RememberUntickedForgetsBothPlaces)
{
    RememberedLogin store(keyring, file());
    store.write({"joe12", "secret9"});
    store.forget();
    EXPECT_EQ(keyring.find("joe12"), std::nullopt);
    EXPECT_EQ(fileValue("username"), QString());
    EXPECT_EQ(fileValue("password"), QString());
    const LoginPair read = store.read();
    EXPECT_EQ(read.screenName, "");
    EXPECT_EQ(read.password, "");
}

} // namespace
} // namespace tessaly
