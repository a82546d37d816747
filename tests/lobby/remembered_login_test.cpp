#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <cstdlib>

#include "client/lobby/RememberedLogin.h"
#include "platform/secrets/SecretServiceStore.h"

namespace tessaly {
namespace {

// Without a keyring: the password stays in the file, scrambled.
class Remembered : public ::testing::Test {
protected:
    QTemporaryDir dir;
    NoSecretStore noKeyring;
    QString file() const { return dir.filePath("Tessaly.conf"); }
    static int modeOf(const QString& path)
    {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? static_cast<int>(status.st_mode & 0777)
                                                                          : -1;
    }
    int mode() const { return modeOf(file()); }
};

TEST_F(Remembered, KeepsTheNamePlainAndThePasswordScrambled)
{
    RememberedLogin store(noKeyring, file());
    store.write({"joe12", "secret9"});
    EXPECT_EQ(store.read().screenName, "joe12");
    EXPECT_EQ(store.read().password, "secret9");

    const QSettings raw(file(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("username").toString(), "joe12");
    QFile onDisk(file());
    ASSERT_TRUE(onDisk.open(QIODevice::ReadOnly));
    EXPECT_TRUE(onDisk.readAll().contains("username=joe12"));
    const QString stored = raw.value("password").toString();
    ASSERT_EQ(stored.size(), 7);
    for (int i = 0; i < stored.size(); ++i) {
        const int byte = stored.at(i).unicode();
        EXPECT_GE(byte, 0x80) << "ASCII scrambles to bytes with the top bit set";
        EXPECT_EQ(byte ^ kPasswordKey, static_cast<unsigned char>("secret9"[i]));
    }
}

TEST_F(Remembered, ForgettingEmptiesBothValues)
{
    RememberedLogin store(noKeyring, file());
    store.write({"joe12", "secret9"});
    store.forget();
    const LoginPair pair = store.read();
    EXPECT_TRUE(pair.screenName.empty());
    EXPECT_TRUE(pair.password.empty());
    EXPECT_TRUE(QSettings(file(), QSettings::IniFormat).contains("password"));
}

TEST_F(Remembered, ANameWithoutPasswordIsKept)
{
    RememberedLogin store(noKeyring, file());
    store.write({"joe12", ""});
    EXPECT_EQ(store.read().screenName, "joe12");
    EXPECT_EQ(store.read().password, "");
}

TEST_F(Remembered, EveryPasswordByteComesBackIncludingTheKey)
{
    std::string every;
    for (int b = 1; b < 256; ++b)
        every.push_back(static_cast<char>(b));
    RememberedLogin(noKeyring, file()).write({"j\xc3\xb6rg", every});
    // Read a copy: Qt keeps a file it wrote cached in the process, and what
    // must come back is what the next run parses from the disk.
    const QString copy = dir.filePath("copy.conf");
    ASSERT_TRUE(QFile::copy(file(), copy));
    const LoginPair pair = RememberedLogin(noKeyring, copy).read();
    EXPECT_EQ(pair.password, every);
    EXPECT_EQ(pair.screenName, "j\xc3\xb6rg");
    EXPECT_EQ(scramblePassword(scramblePassword(every)), every);
}

TEST_F(Remembered, ValuesOfAnotherTypeOrTooLongReadAsAbsent)
{
    {
        QSettings raw(file(), QSettings::IniFormat);
        raw.setValue("username", QStringList{"a", "b"});
        raw.setValue("password", QString(1024, QChar(0xA0)));
    }
    const LoginPair pair = RememberedLogin(noKeyring, file()).read();
    EXPECT_TRUE(pair.screenName.empty());
    EXPECT_TRUE(pair.password.empty());
}

TEST_F(Remembered, AMissingOrUnreadableFileGivesAnEmptyPair)
{
    const LoginPair missing = RememberedLogin(noKeyring, file()).read();
    EXPECT_TRUE(missing.screenName.empty());
    const QString inFile = dir.filePath("plain/Tessaly.conf");
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));   // a file where the folder should be
    blocker.close();
    RememberedLogin lost(noKeyring, inFile);
    lost.write({"joe", "pw"});
    EXPECT_TRUE(lost.read().screenName.empty());
}

TEST_F(Remembered, LivesInTheUsersConfigurationFolder)
{
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(RememberedLogin::defaultFilePath(), dir.path() + "/Tessaly.conf");
    RememberedLogin(noKeyring).write({"joe12", "pw"});
    EXPECT_TRUE(QFile::exists(dir.path() + "/Tessaly.conf"));
    EXPECT_EQ(RememberedLogin(noKeyring).read().screenName, "joe12");
    if (before.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", before);
}

TEST_F(Remembered, TheFileIsTheUsersAloneWhateverModeItHad)
{
    enum class Action { Remember, Forget, ReadOnly };
    const struct {
        const char* what;
        const char* at;   // under the temporary folder
        int before;       // -1: no file yet
        Action action;
    } cases[] = {
        {"a new file", "Tessaly.conf", -1, Action::Remember},
        {"a fresh account without a configuration folder", "home/.config/Tessaly.conf", -1, Action::Remember},
        {"an earlier version's file, readable by all", "Tessaly.conf", 0644, Action::Remember},
        {"a file writable by the group", "Tessaly.conf", 0664, Action::Remember},
        {"forgetting into a file readable by all", "Tessaly.conf", 0644, Action::Forget},
        {"reading a password another writer left readable by all", "Tessaly.conf", 0644, Action::ReadOnly},
        {"a file already private", "Tessaly.conf", 0600, Action::Remember},
    };
    const std::string scrambled = scramblePassword("secret9");
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromUtf8(c.at));
        QFile::remove(path);
        if (c.before >= 0) {
            {
                QSettings raw(path, QSettings::IniFormat);
                raw.setValue("username", "old");
                raw.setValue("password", QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size())));
            }
            ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(c.before)), 0);
        }
        RememberedLogin store(noKeyring, path);
        if (c.action == Action::Remember)
            store.write({"joe12", "secret9"});
        else if (c.action == Action::Forget)
            store.forget();
        EXPECT_EQ(store.read().password, c.action == Action::Forget ? "" : "secret9") << c.what;
        EXPECT_EQ(modeOf(path), 0600) << c.what;
        for (QString folder = QFileInfo(path).path(); folder != dir.path(); folder = QFileInfo(folder).path())
            EXPECT_EQ(modeOf(folder), 0700) << c.what << ": " << folder.toStdString();
    }
}

// A process without a Secret Service keeps the scrambled password in the
// file: a bus address where nothing listens, or no session bus named at all
// (then the store does not even try, so nothing autolaunches a bus).
TEST_F(Remembered, WithoutASecretServiceThePasswordStaysInTheFile)
{
    const QByteArray noBus = "unix:path=" + QFile::encodeName(dir.filePath("no-bus"));
    const QByteArray emptyRuntime = QFile::encodeName(dir.path());
    const struct {
        const char* what;
        QByteArray address;
    } cases[] = {{"nothing listens at the address", noBus}, {"no session bus named", QByteArray()}};
    const QByteArray addressBefore = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
    auto restore = [](const char* name, const QByteArray& value) {
        if (value.isEmpty())
            qunsetenv(name);
        else
            qputenv(name, value);
    };
    for (const auto& c : cases) {
        QFile::remove(file());
        restore("DBUS_SESSION_BUS_ADDRESS", c.address);
        qputenv("XDG_RUNTIME_DIR", emptyRuntime);
        SecretServiceStore keyring(kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel);
        RememberedLogin store(keyring, file());
        store.write({"joe12", "secret9"});
        EXPECT_EQ(RememberedLogin(noKeyring, file()).read().password, "secret9") << c.what;
        EXPECT_EQ(mode(), 0600) << c.what;
        store.forget();
        EXPECT_EQ(store.read().screenName, "") << c.what;
        EXPECT_EQ(store.read().password, "") << c.what;
    }
    restore("DBUS_SESSION_BUS_ADDRESS", addressBefore);
    restore("XDG_RUNTIME_DIR", runtimeBefore);
}

} // namespace
} // namespace tessaly
