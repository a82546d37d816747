#pragma once
// The screen name and password remembered between runs. The screen name
// lives in the user's configuration folder ($XDG_CONFIG_HOME/Tessaly.conf,
// else ~/.config/Tessaly.conf) as the value "username"; a name there means
// "Remember" is ticked. The password lives in the desktop's secret store
// (the keyring) under the screen name where there is one; where there is
// none, it stays in the file as the value "password", scrambled, and the
// file is kept readable by the user alone (mode 0600). A file with a
// scrambled password from an earlier version still reads; the next write
// with a keyring present moves the password there.
//
// The password's bytes are each XORed with one key byte that has its top bit
// set; 0xC1 never occurs in UTF-8, so no byte of a typed password turns into
// a zero. Any byte is kept in any case: the scrambled bytes are stored as a
// Latin-1 string, zero included, and come back whole.

#include <QString>

#include <string>
#include <string_view>

#include "platform/secrets/SecretStore.h"

namespace tessaly {

inline constexpr unsigned char kPasswordKey = 0xC1;
// Values longer than this read as absent, as from a fixed read buffer.
inline constexpr std::size_t kRememberedValueMaxBytes = 1023;

// The keyring's schema for the remembered password and its one attribute,
// the screen name.
inline constexpr const char* kLoginSecretSchema = "example.tessaly.Tessaly.Login";
inline constexpr const char* kLoginSecretAttribute = "screen-name";
inline constexpr const char* kLoginSecretLabel = "Tessaly login";

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

    // The store outlives this object.
    explicit RememberedLogin(SecretStore& secrets, QString filePath = defaultFilePath());

    // Both values; one that is missing, not a string or too long reads as
    // empty. A file that cannot be read gives an empty pair. A password
    // value in the file, even an empty one, wins over the keyring's: it was
    // written last, when the keyring did not answer.
    LoginPair read() const;
    // Writes both: the password into the keyring, else into the file;
    // what cannot be written is lost, silently.
    void write(const LoginPair& pair) const;
    // Empties both values in the file and removes the keyring's password.
    void forget() const;

private:
    SecretStore& secrets_;
    QString filePath_;
};

} // namespace tessaly
