// The program Linkscope in report mode: against loopback, and against a
// small routed network of namespaces (the monitor, two routers and the
// destination) where the machine allows it.

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs a shell command line; stdout is returned, stderr goes to a file.
Outcome run(const std::string& command)
{
    const std::string errFile = "/tmp/linkscope-test-" + std::to_string(::getpid()) + ".err";
    Outcome result;
    FILE* pipe = ::popen((command + " 2>" + errFile).c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::stringstream err;
    err << std::ifstream(errFile).rdbuf();
    result.err = err.str();
    std::remove(errFile.c_str());
    return result;
}

std::string linkscope()
{
    const char* dist = std::getenv("TESSALY_DIST_DIR");
    return std::string(dist == nullptr ? "build/dist" : dist) + "/Linkscope";
}

QJsonObject parse(const std::string& json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(json), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << json;
    return document.object();
}

std::vector<std::string> hopAddresses(const QJsonObject& report)
{
    std::vector<std::string> addresses;
    for (const QJsonValue& hop : report["route"].toObject()["hops"].toArray())
        addresses.push_back(hop.toObject()["ip"].toString().toStdString());
    return addresses;
}

std::string text(const QJsonObject& object, const char* key)
{
    return object[key].toString().toStdString();
}

TEST(LinkscopeReport, JsonHoldsTheSevenServersAgainstLoopback)
{
    const Outcome r = run("TESSALY_MONITOR_HOSTS='127.0.0.1,localhost,no-such-host.invalid,127.0.0.2,127.0.0.3,"
                      "127.0.0.4,127.0.0.5' " + linkscope() + " --report --cycles 1 --json");
    const QJsonObject report = parse(r.out);
    const QJsonArray servers = report["servers"].toArray();
    ASSERT_EQ(servers.size(), 7);
    EXPECT_EQ(text(servers[0].toObject(), "ip"), "127.0.0.1");
    EXPECT_FALSE(servers[2].toObject()["resolved"].toBool());
    if (r.status == 1) {   // this user may open no ICMP socket
        EXPECT_TRUE(report.contains("problem"));
        return;
    }
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(text(servers[0].toObject(), "connection"), "Excellent (100%)");
    EXPECT_EQ(servers[6].toObject()["sent"].toInt(), 1);
    EXPECT_EQ(hopAddresses(report), std::vector<std::string>({"127.0.0.1"}));
}

TEST(LinkscopeReport, RejectsUnknownArguments)
{
    const Outcome r = run(linkscope() + " --cycles 3");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: Linkscope"), std::string::npos);
}

// mon 10.77.1.2 -- 10.77.1.1 r1 10.77.2.1 -- 10.77.2.2 r2 10.77.3.1 -- 10.77.3.2 dst
class RoutedNetwork : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "building the namespace network needs root";
        if (run("ip netns list").status != 0)
            GTEST_SKIP() << "ip netns does not work here";
        const std::string id = std::to_string(::getpid());
        mon_ = "lsmon" + id;
        r1_ = "lsr1" + id;
        r2_ = "lsr2" + id;
        dst_ = "lsdst" + id;
        // Each link joins two namespaces with a veth pair: (namespace,
        // interface, address) at both ends.
        struct End {
            const std::string& ns;
            const char* device;
            const char* address;
        };
        const std::pair<End, End> links[] = {
            {{mon_, "m0", "10.77.1.2/24"}, {r1_, "in0", "10.77.1.1/24"}},
            {{r1_, "out0", "10.77.2.1/24"}, {r2_, "in0", "10.77.2.2/24"}},
            {{r2_, "out0", "10.77.3.1/24"}, {dst_, "d0", "10.77.3.2/24"}},
        };
        std::string script = "set -e\n";
        for (const std::string& n : {mon_, r1_, r2_, dst_})
            script += "ip netns add " + n + "; ip -n " + n + " link set lo up\n";
        for (const auto& [a, b] : links) {
            script += "ip -n " + a.ns + " link add name " + a.device + " type veth peer name " + b.device +
                      " netns " + b.ns + "\n";
            for (const End& end : {a, b})
                script += "ip -n " + end.ns + " addr add " + end.address + " dev " + end.device + "; ip -n " +
                          end.ns + " link set " + end.device + " up\n";
        }
        // The routers forward; their "time exceeded" and "unreachable"
        // messages are not rate-limited, so none the test waits for is lost.
        for (const std::string& router : {r1_, r2_})
            script += "ip netns exec " + router + " sh -c 'echo 1 >/proc/sys/net/ipv4/ip_forward; "
                      "echo 0 >/proc/sys/net/ipv4/icmp_ratelimit'\n";
        script += "ip netns exec " + mon_ + " sh -c 'echo 0 2147483647 >/proc/sys/net/ipv4/ping_group_range'\n";
        const std::pair<const std::string&, const char*> routes[] = {
            {mon_, "default via 10.77.1.1"},
            {r1_, "10.77.3.0/24 via 10.77.2.2"},
            {r2_, "10.77.1.0/24 via 10.77.2.1"},
            {dst_, "default via 10.77.3.1"},
        };
        for (const auto& [ns, route] : routes)
            script += "ip -n " + ns + " route add " + route + "\n";
        // `ip netns exec` reads these in place of /etc/hosts and
        // /etc/resolv.conf: names for the hops, and no name server to wait for.
        etc_ = "/etc/netns/" + mon_;
        run("mkdir -p " + etc_);
        std::ofstream(etc_ + "/hosts") << "127.0.0.1 localhost\n10.77.1.1 router-one\n10.77.2.2 router-two\n"
                                          "10.77.3.2 room-server\n";
        std::ofstream(etc_ + "/resolv.conf") << "nameserver 127.0.0.1\noptions timeout:1 attempts:1\n";
        const std::string file = "/tmp/linkscope-net-" + id + ".sh";
        std::ofstream(file) << script;
        const Outcome built = run("sh " + file);
        std::remove(file.c_str());
        ASSERT_EQ(built.status, 0) << built.err;
        built_ = true;
    }
    void TearDown() override
    {
        for (const std::string& n : {mon_, r1_, r2_, dst_})
            if (!n.empty())
                run("ip netns del " + n);
        if (!etc_.empty())
            run("rm -rf " + etc_);
    }

    Outcome report(const char* socketKind)
    {
        // Row 0 the destination; row 1 beyond every route (r1 answers
        // "net unreachable"); row 2 no name at all.
        return run("ip netns exec " + mon_ + " env TESSALY_MONITOR_ICMP=" + socketKind +
                   " QT_LOGGING_RULES=tessaly.trace=true"
                   " TESSALY_MONITOR_HOSTS=10.77.3.2,10.77.9.9,no-such-host.invalid,10.77.1.1,10.77.2.2,10.77.3.1,"
                   "10.77.1.2 " + linkscope() + " --report --cycles 2 --json");
    }

    std::string mon_, r1_, r2_, dst_, etc_;
    bool built_ = false;
};

TEST_F(RoutedNetwork, TheTraceShowsBothRoutersAndTheDestinationOverEachSocket)
{
    for (const char* kind : {"raw", "datagram"}) {
        const Outcome r = report(kind);
        ASSERT_EQ(r.status, 0) << kind << "\n" << r.out << r.err;
        const QJsonObject result = parse(r.out);
        EXPECT_EQ(hopAddresses(result), std::vector<std::string>({"10.77.1.1", "10.77.2.2", "10.77.3.2"})) << kind << r.out;
        const QJsonArray hops = result["route"].toObject()["hops"].toArray();
        ASSERT_EQ(hops.size(), 3) << kind;
        EXPECT_EQ(text(hops[0].toObject(), "address"), "router-one") << kind;
        EXPECT_EQ(text(hops[2].toObject(), "address"), "room-server") << kind;
        EXPECT_EQ(text(hops[2].toObject(), "hop"), "3") << kind;
        const QJsonArray servers = result["servers"].toArray();
        ASSERT_EQ(servers.size(), 7);
        EXPECT_EQ(text(servers[0].toObject(), "connection"), "Excellent (100%)") << kind;
        EXPECT_EQ(servers[1].toObject()["lost"].toInt(), 2) << kind;
        EXPECT_EQ(text(servers[1].toObject(), "connection"), "Very Poor (0%)") << kind;
        EXPECT_NE(r.err.find("IP_DEST_NET_UNREACHABLE (11002)"), std::string::npos) << kind << r.err;
        EXPECT_EQ(servers[4].toObject()["sent"].toInt(), 2) << kind;
        EXPECT_EQ(servers[4].toObject()["lost"].toInt(), 0) << kind;
    }
}

} // namespace
