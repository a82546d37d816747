#pragma once
// The screen name and password remembered between runs, in the user's
// configuration folder ($XDG_CONFIG_HOME/Tessaly.conf, else
// ~/.config/Tessaly.conf): the value "username" in plain text, the value
// "password" scrambled.
//
// The password's bytes are each XORed with one key byte that has its top bit
// set; 0xC1 never occurs in UTF-8, so no byte of a typed password turns into
// a zero. Any byte is kept in any case: the scrambled bytes are stored as a
// Latin-1 string, zero included, and come back whole.

#include <QString>

#include <string>
#include <string_view>

namespace tessaly {

inline constexpr unsigned char kPasswordKey = 0xC1;
// Values longer than this read as absent, as from a fixed read buffer.
inline constexpr std::size_t kRememberedValueMaxBytes = 1023;

// XOR with the key: the same call scrambles and unscrambles.
std::string scramblePassword(std::string_view text);

struct LoginPair {
    std::string screenName;
    std::string password;
};

class RememberedLogin {
public:
    // The file in the user's configuration folder, looked up on each call.
    static QString defaultFilePath();

    explicit RememberedLogin(QString filePath = defaultFilePath());

    // Both values; one that is missing, not a string or too long reads as
    // empty. A file that cannot be read gives an empty pair.
    LoginPair read() const;
    // Writes both; a file that cannot be written loses them, silently.
    void write(const LoginPair& pair) const;
    // Writes empty strings to both values.
    void forget() const;

private:
    QString filePath_;
};

} // namespace tessaly
