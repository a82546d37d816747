// The real tessaly-house over loopback: a scripted client registers, logs
// in, lists the tables, sits down and plays hands to a showdown; the web
// port serves the version files; a signal stops it with every chip home.

#include "server/protocol/Catalogue.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <regex>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessaly::house {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == '\t')
            out.emplace_back();
        else if (c != '\r')
            out.back() += c;
    }
    return out;
}

int connectTo(int port, int receiveBuffer = 0)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (receiveBuffer > 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// The house as a child process.
class House {
public:
    explicit House(const std::vector<std::string>& args)
    {
        int out[2];
        EXPECT_EQ(pipe(out), 0);
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], 1);
            close(out[0]);
            std::vector<char*> argv;
            std::string program = std::string(std::getenv("TESSALY_TOOLS_DIR")) + "/tessaly-house";
            argv.push_back(program.data());
            std::vector<std::string> copy = args;
            for (std::string& a : copy)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = fdopen(out[0], "r");
        const std::string first = readLine();
        std::smatch m;
        if (std::regex_search(first, m, std::regex(R"(^listening game 127\.0\.0\.1:(\d+) web 127\.0\.0\.1:(\d+)$)"))) {
            gamePort = std::stoi(m[1]);
            webPort = std::stoi(m[2]);
        }
    }
    ~House()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_)
            fclose(out_);
    }
    std::string readLine()
    {
        char buf[512];
        return fgets(buf, sizeof buf, out_) ? std::string(buf, strcspn(buf, "\n")) : std::string();
    }
    // Waits for the house to end by itself; the exit code, or -1 on timeout.
    int waitForExit(std::chrono::seconds timeout)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }
    // Sends SIGTERM; returns the exit code.
    int stop()
    {
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    int gamePort = 0;
    int webPort = 0;

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};

// A scripted client: sends texts with their NUL, cuts what comes at
// carriage returns, and checks every line against the catalogue.
class Client {
public:
    // receiveBuffer: a small one keeps the kernel from holding much for us.
    explicit Client(int port, int receiveBuffer = 0) : fd_(connectTo(port, receiveBuffer)) {}
    ~Client()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    bool connected() const { return fd_ >= 0; }
    void send(const std::string& text) { sendRaw(text + std::string(1, '\0')); }
    void sendRaw(const std::string& bytes) { ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size())); }

    // The next line, or "" after the timeout or when the house hangs up.
    std::string next(std::chrono::milliseconds timeout = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const std::size_t cr = buffer_.find('\r');
            if (cr != std::string::npos) {
                std::string line = buffer_.substr(0, cr + 1);
                buffer_.erase(0, cr + 1);
                if (const std::string why = catalogueError(line); !why.empty())
                    faults.push_back(why + ": " + line);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return {};
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
                return {};
            char chunk[65536];
            const ssize_t n = recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0)
                return {};
            received.append(chunk, static_cast<std::size_t>(n));
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }
    // The next line whose keyword is one of those given; "" if none comes.
    std::string expect(std::initializer_list<std::string> keywords, std::chrono::milliseconds timeout = 10s)
    {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < deadline) {
            const std::string line = next(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
            if (line.empty())
                return {};
            for (const std::string& k : keywords) {
                if (fieldsOf(line)[0] == k)
                    return line;
            }
        }
        return {};
    }

    std::string received;
    std::vector<std::string> faults;

private:
    int fd_;
    std::string buffer_;
};

std::string httpGet(int port, const std::string& path)
{
    const int fd = connectTo(port);
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string reply;
    char chunk[4096];
    for (ssize_t n; (n = recv(fd, chunk, sizeof chunk, 0)) > 0;)
        reply.append(chunk, static_cast<std::size_t>(n));
    close(fd);
    return reply;
}

std::string bodyOf(const std::string& reply)
{
    const std::size_t at = reply.find("\r\n\r\n");
    return at == std::string::npos ? std::string() : reply.substr(at + 4);
}

class HouseServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("TESSALY_TOOLS_DIR"), nullptr) << "run through ctest";
        dir = fs::temp_directory_path() / ("tessaly-house-test-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    fs::path dir;
};

TEST_F(HouseServer, AScriptedClientRegistersSitsDownAndPlaysToAShowdown)
{
    House house({"--data", (dir / "data").string(), "--game-port", "0", "--web-port", "0", "--bots", "4", "--seed",
                 "11", "--fast", "--turn-timeout", "5", "--log", (dir / "log").string()});
    ASSERT_GT(house.gamePort, 0);
    Client c(house.gamePort);
    ASSERT_TRUE(c.connected());

    c.send("REGISTER_PLAYER:\tbob42\tpass1\tbob@example.com\r");
    EXPECT_EQ(c.expect({"REG_SUCCESS", "REG_FAIL", "REG_EMAIL"}), "REG_SUCCESS\r");
    c.send("REGISTER_PLAYER:\tBOB42\tpass1\tother@example.com\r");
    EXPECT_EQ(c.expect({"REG_SUCCESS", "REG_FAIL", "REG_EMAIL"}), "REG_FAIL\r");
    c.send("REGISTER_PLAYER:\tann\tpass1\tbob@example.com\r");
    EXPECT_EQ(c.expect({"REG_SUCCESS", "REG_FAIL", "REG_EMAIL"}), "REG_EMAIL\r");
    c.send("REGISTER_PLAYER:\tbad_name\tpass1\tbad@example.com\r");
    EXPECT_EQ(c.expect({"REG_SUCCESS", "REG_FAIL", "REG_EMAIL"}), "REG_FAIL\r");
    c.send("LOGIN:\tbob42\twrong\r");
    EXPECT_EQ(c.expect({"LOGIN_SUCCESS", "LOGIN_FAIL"}), "LOGIN_FAIL\r");
    c.send("LOGIN:\tbob42\tpass1\r");
    EXPECT_EQ(c.expect({"LOGIN_SUCCESS", "LOGIN_FAIL"}), "LOGIN_SUCCESS\r");

    c.send("LIST_TABLES"); // no carriage return before the NUL
    const auto list = fieldsOf(c.expect({"START_TABLE"}));
    EXPECT_EQ(std::count(list.begin(), list.end(), "HR"), 8);
    EXPECT_EQ(list.back(), "END_TABLE");

    c.send("QUICK_CASHIER:\tbob42\r");
    EXPECT_EQ(c.expect({"RQC:"}), "RQC:\tbob@example.com\t1000\t0\t1000\r");
    c.send("WATCH_TABLE:\t0\r");
    EXPECT_FALSE(c.expect({"INIT:", "INIT_EMPTY:"}).empty());
    c.send("REQUEST_PLAYERS:\t0\r");
    const auto players = fieldsOf(c.expect({"LIST:"}));
    std::set<int> taken;
    for (std::size_t i = 2; i + 2 < players.size() + 1; i += 3)
        taken.insert(std::stoi(players[i]) - 1);
    int seat = 0;
    while (taken.count(seat))
        ++seat;
    c.send("ACCOUNT_BALANCE_PM:\tbob42\r");
    EXPECT_EQ(c.expect({"YOUR_MONEY_PM:"}), "YOUR_MONEY_PM:\t1000\t0\r");
    c.send("JOIN_GAME:\tbob42\t0\t" + std::to_string(seat) + "\t10"); // no carriage return either
    EXPECT_EQ(c.expect({"YOU_JOINED_TABLE:", "SM:"}),
              "YOU_JOINED_TABLE:\t0\t" + std::to_string(seat) + "\tbob42\t10\r");

    // Post, check and call until one of our hands reaches a showdown.
    const std::string s = std::to_string(seat);
    bool showdown = false, won = false, gotCards = false;
    int hands = 0;
    const auto until = std::chrono::steady_clock::now() + 90s;
    while (!showdown && std::chrono::steady_clock::now() < until) {
        const std::string line = c.next(20s);
        ASSERT_FALSE(line.empty()) << "the table went quiet";
        const auto f = fieldsOf(line);
        if (f[0] == "GSB:")
            c.send("xPSB:\t0\t" + s + "\t0.00\r");
        else if (f[0] == "GBB:")
            c.send("xPBB:\t0\t" + s + "\t0.00\r");
        else if (f[0] == "ACTION:")
            c.send("REPLY:\t0\t" + std::string(f[2] == "0" ? "6" : "3") + "\r");
        else if (f[0] == "YOUR_CARD:")
            gotCards = f[2] == s;
        else if (f[0] == "YOU_WIN:")
            won = true;
        else if (f[0] == "SEND_MESSAGE:" && f[3].find("hand starting") != std::string::npos)
            ++hands;
        else if ((f[0] == "SOME_CARDS:" && f[2] == s && !won) || f[0] == "MUCK_SHOW:")
            showdown = true;
        else if (f[0] == "SEND_MESSAGE:" && f[3].rfind("bob42 wins", 0) == 0 && f[3].find("chips with") != std::string::npos)
            showdown = true;
    }
    EXPECT_TRUE(showdown) << "after " << hands << " hands";
    EXPECT_TRUE(gotCards);

    // A misbehaving neighbour: an endless line, junk, unknown keywords.
    Client rogue(house.gamePort);
    rogue.sendRaw(std::string(200000, 'x'));
    using namespace std::string_literals;
    rogue.sendRaw("\0\x01\x02\xff\0REPLY:\t0\t5\t9999\r\0NOPE:\t1\0WATCH_TABLE:\t99\r\0JOIN_GAME:\t\t\t\0"s);
    rogue.send("LIST_TABLES");
    EXPECT_FALSE(rogue.expect({"START_TABLE"}).empty());

    c.send("CLOSE_WINDOW:\t0\r");
    c.send("QUICK_CASHIER:\tbob42\r");
    const auto cashier = fieldsOf(c.expect({"RQC:"}));
    ASSERT_EQ(cashier.size(), 5u);
    EXPECT_EQ(cashier[3], "0"); // nothing left in play
    EXPECT_TRUE(c.faults.empty()) << c.faults.front();

    // The web port.
    EXPECT_EQ(bodyOf(httpGet(house.webPort, "/upgrades/version.txt")), "6.7\r");
    EXPECT_EQ(bodyOf(httpGet(house.webPort, "/upgrades/upgrade.txt")), "6.7\r");
    EXPECT_EQ(bodyOf(httpGet(house.webPort, "/upgrades/Upgrade.zip")).substr(0, 2), "PK");
    EXPECT_EQ(bodyOf(httpGet(house.webPort, "/upgrades/Incremental.zip")).substr(0, 2), "PK");
    for (const char* page : {"/", "/index.php?page=contact_us", "/tellafriend.php", "/serverstatus.php",
                             "/aboutus.php", "/security.php", "/contactus.php", "/stickers.php", "/comingsoon.php"})
        EXPECT_EQ(httpGet(house.webPort, page).rfind("HTTP/1.1 200", 0), 0u) << page;
    EXPECT_EQ(httpGet(house.webPort, "/../house.db").rfind("HTTP/1.1 404", 0), 0u);

    // A signal: the client is told, every chip goes back, the exit is clean.
    EXPECT_EQ(house.stop(), 0);
    EXPECT_NE(house.readLine().find("every chip is back in its account"), std::string::npos);
    EXPECT_FALSE(c.expect({"CA:"}, 2s).empty());
    // The raw log holds exactly the bytes this client received.
    std::ifstream raw(dir / "log" / "conn-1.raw", std::ios::binary);
    const std::string logged((std::istreambuf_iterator<char>(raw)), std::istreambuf_iterator<char>());
    EXPECT_EQ(logged, c.received);
}

TEST_F(HouseServer, AClientThatNeverReadsDoesNotHoldUpTheTables)
{
    House house({"--data", (dir / "data").string(), "--game-port", "0", "--web-port", "0", "--bots", "4", "--fast",
                 "--seed", "3", "--log", (dir / "log").string(), "--client-queue", "65536"});
    ASSERT_GT(house.gamePort, 0);
    Client silent(house.gamePort, 4096);
    for (int t = 0; t < 8; ++t)
        silent.send("WATCH_TABLE:\t" + std::to_string(t) + "\r");
    // Every hand goes to the silent watcher's queue until it is cut off.
    bool cut = false;
    for (auto until = std::chrono::steady_clock::now() + 60s; !cut && std::chrono::steady_clock::now() < until;) {
        std::this_thread::sleep_for(200ms);
        std::ifstream log(dir / "log" / "conn-1.txt");
        const std::string transcript((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        cut = transcript.find("dropped: the client does not read") != std::string::npos;
    }
    EXPECT_TRUE(cut);
    // The house still deals and answers.
    Client other(house.gamePort);
    other.send("LIST_TABLES");
    EXPECT_FALSE(other.expect({"START_TABLE"}).empty());
    EXPECT_EQ(house.stop(), 0);
    EXPECT_NE(house.readLine().find("every chip is back in its account"), std::string::npos);
}

TEST_F(HouseServer, TwoHousesOnFreePortsAtOnceAndABadTablesFileIsRefused)
{
    House a({"--data", (dir / "a").string(), "--game-port", "0", "--web-port", "0", "--bots", "0"});
    House b({"--data", (dir / "b").string(), "--game-port", "0", "--web-port", "0", "--bots", "0"});
    ASSERT_GT(a.gamePort, 0);
    ASSERT_GT(b.gamePort, 0);
    EXPECT_NE(a.gamePort, b.gamePort);
    EXPECT_EQ(a.stop(), 0);
    EXPECT_EQ(b.stop(), 0);

    std::ofstream(dir / "tables.txt") << "NL 7 1 2 20 200 Odd\n";
    House bad({"--data", (dir / "c").string(), "--game-port", "0", "--web-port", "0", "--tables",
               (dir / "tables.txt").string()});
    EXPECT_EQ(bad.gamePort, 0);
    EXPECT_EQ(bad.stop(), 1);
}

} // namespace
} // namespace tessaly::house
