#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <string>

namespace {

struct Replay {
    int exitCode = -1;
    QJsonObject json;
    QByteArray out;
};

Replay replay(const QByteArray& input, const QStringList& arguments = {})
{
    QProcess process;
    process.start(qEnvironmentVariable("TESSALY_TOOLS_DIR") + "/tessaly-replay", arguments);
    Replay r;
    if (!process.waitForStarted())
        return r;
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished();
    r.exitCode = process.exitCode();
    r.out = process.readAllStandardOutput();
    QJsonParseError error{};
    r.json = QJsonDocument::fromJson(r.out, &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.constData();
    return r;
}

TEST(Replay, LoginSuccessLogsIn)
{
    const Replay r = replay("LOGIN_SUCCESS\r");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json["session"]["loggedIn"].toInt(), 1);
    EXPECT_TRUE(r.json["tables"].toObject().isEmpty());
    EXPECT_TRUE(r.json["effects"].toArray().isEmpty());
}

TEST(Replay, PresetsFieldsAndPrintsEffectsInOrder)
{
    const Replay r = replay("ACTION:\t3\t0\t20\rYOU_JOINED_TABLE:\t3\t4\t\xff" "ann\t150\rSM:\tHi\r",
                            {"--set", "3.autoCheckFold=1", "--set", "screenName=ann"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json["session"]["screenName"].toString(), "ann");
    const QJsonObject tables = r.json["tables"].toObject();
    EXPECT_EQ(tables.keys(), QStringList{"3"});
    const QJsonObject t = tables["3"].toObject();
    EXPECT_EQ(t["autoCheckFold"].toInt(), 1);
    EXPECT_EQ(t["userSeatedHere"].toInt(), 1);
    EXPECT_EQ(t["stack"].toArray()[4].toDouble(), 150.0);
    EXPECT_EQ(t["playerName"].toArray()[4].toString(), QString::fromLatin1("\xff" "ann"));
    EXPECT_EQ(t["board"].toArray().size(), 5);

    const QJsonArray effects = r.json["effects"].toArray();
    ASSERT_EQ(effects.size(), 4);
    EXPECT_EQ(effects[0]["sound"].toString(), "sounds\\yourturn.wav");
    EXPECT_EQ(effects[1]["send"].toString(), QString::fromLatin1("REPLY:\t3\t6\r\0", 12));
    EXPECT_EQ(effects[2]["sound"].toString(), "sounds\\joinseat.wav");
    const QJsonObject box = effects[3]["box"].toObject();
    EXPECT_EQ(box["caption"].toString(), "SM: Tessaly Message");
    EXPECT_EQ(box["text"].toString(), "Hi");
    EXPECT_EQ(box["icon"].toString(), "exclamation");
    EXPECT_TRUE(r.out.contains(R"("send": "REPLY:\t3\t6\r\u0000")"));
}

TEST(Replay, StopsAfterAnExit)
{
    const Replay r = replay("CA:\tClosing\rLOGIN_SUCCESS\r");
    EXPECT_EQ(r.json["session"]["loggedIn"].toInt(), 0);
    const QJsonArray effects = r.json["effects"].toArray();
    ASSERT_EQ(effects.size(), 2);
    EXPECT_EQ(effects[1]["exit"].toInt(), 0);
}

TEST(Replay, RefusesUnknownOrUnsettableFields)
{
    for (const char* set : {"3.noSuchField=1", "50.userSeat=1", "3.board=1", "3.userSeat=x", "loggedIn"}) {
        QProcess process;
        process.start(qEnvironmentVariable("TESSALY_TOOLS_DIR") + "/tessaly-replay", {"--set", QString::fromLatin1(set)});
        process.closeWriteChannel();
        process.waitForFinished();
        EXPECT_EQ(process.exitCode(), 2) << set;
    }
}

} // namespace
