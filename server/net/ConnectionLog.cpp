#include "server/net/ConnectionLog.h"

#include "server/net/EscapedText.h"

#include "platform/sys/CLocale.h"

#include <chrono>
#include <ctime>

namespace tessaly::house {

ConnectionLog::ConnectionLog(const std::string& dir, std::uint64_t id, const std::string& peer)
{
    const std::string base = dir + "/conn-" + std::to_string(id);
    text_ = std::fopen((base + ".txt").c_str(), "w");
    raw_ = std::fopen((base + ".raw").c_str(), "wb");
    note("connection " + std::to_string(id) + " from " + peer);
}

ConnectionLog::~ConnectionLog()
{
    note("closed");
    if (text_)
        std::fclose(text_);
    if (raw_)
        std::fclose(raw_);
}

std::string ConnectionLog::readable(std::string_view line, bool incoming)
{
    std::string shown(line);
    if (incoming && (shown.rfind("LOGIN:\t", 0) == 0 || shown.rfind("REGISTER_PLAYER:\t", 0) == 0)) {
        // The second field is the password.
        const std::size_t a = shown.find('\t');
        const std::size_t b = shown.find('\t', a + 1);
        if (b != std::string::npos) {
            const std::size_t c = shown.find_first_of("\t\r", b + 1);
            shown.replace(b + 1, (c == std::string::npos ? shown.size() : c) - b - 1, "*****");
        }
    }
    return escapedText(shown, false);
}

void ConnectionLog::write(char direction, std::string_view text)
{
    if (!text_)
        return;
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&t, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
    const std::string line = tessaly::formatC("%s.%03d %c ", stamp, static_cast<int>(ms), direction) + std::string(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), text_);
    std::fflush(text_);
}

void ConnectionLog::received(std::string_view message) { write('<', readable(message, true)); }

void ConnectionLog::sent(std::string_view line)
{
    write('>', readable(line, false));
    if (raw_) {
        std::fwrite(line.data(), 1, line.size(), raw_);
        std::fflush(raw_);
    }
}

void ConnectionLog::note(std::string_view text) { write('#', text); }

} // namespace tessaly::house
