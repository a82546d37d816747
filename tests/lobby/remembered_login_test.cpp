#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

#include "client/lobby/RememberedLogin.h"

namespace tessaly {
namespace {

class Remembered : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file() const { return dir.filePath("Tessaly.conf"); }
};

TEST_F(Remembered, KeepsTheNamePlainAndThePasswordScrambled)
{
    RememberedLogin store(file());
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
    RememberedLogin store(file());
    store.write({"joe12", "secret9"});
    store.forget();
    const LoginPair pair = store.read();
    EXPECT_TRUE(pair.screenName.empty());
    EXPECT_TRUE(pair.password.empty());
    EXPECT_TRUE(QSettings(file(), QSettings::IniFormat).contains("password"));
}

TEST_F(Remembered, ANameWithoutPasswordIsKept)
{
    RememberedLogin store(file());
    store.write({"joe12", ""});
    EXPECT_EQ(store.read().screenName, "joe12");
    EXPECT_EQ(store.read().password, "");
}

TEST_F(Remembered, EveryPasswordByteComesBackIncludingTheKey)
{
    std::string every;
    for (int b = 1; b < 256; ++b)
        every.push_back(static_cast<char>(b));
    RememberedLogin(file()).write({"j\xc3\xb6rg", every});
    // Read a copy: Qt keeps a file it wrote cached in the process, and what
    // must come back is what the next run parses from the disk.
    const QString copy = dir.filePath("copy.conf");
    ASSERT_TRUE(QFile::copy(file(), copy));
    const LoginPair pair = RememberedLogin(copy).read();
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
    const LoginPair pair = RememberedLogin(file()).read();
    EXPECT_TRUE(pair.screenName.empty());
    EXPECT_TRUE(pair.password.empty());
}

TEST_F(Remembered, AMissingOrUnreadableFileGivesAnEmptyPair)
{
    const LoginPair missing = RememberedLogin(file()).read();
    EXPECT_TRUE(missing.screenName.empty());
    const QString inFile = dir.filePath("plain/Tessaly.conf");
    QFile blocker(dir.filePath("plain"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));   // a file where the folder should be
    blocker.close();
    RememberedLogin lost(inFile);
    lost.write({"joe", "pw"});
    EXPECT_TRUE(lost.read().screenName.empty());
}

TEST_F(Remembered, LivesInTheUsersConfigurationFolder)
{
    const QByteArray before = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    EXPECT_EQ(RememberedLogin::defaultFilePath(), dir.path() + "/Tessaly.conf");
    RememberedLogin().write({"joe12", "pw"});
    EXPECT_TRUE(QFile::exists(dir.path() + "/Tessaly.conf"));
    EXPECT_EQ(RememberedLogin().read().screenName, "joe12");
    if (before.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", before);
}

} // namespace
} // namespace tessaly
