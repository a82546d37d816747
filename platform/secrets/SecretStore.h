#pragma once
// Where the desktop keeps secrets for the user (a Secret Service such as a
// keyring daemon), behind an interface that tests and desktops without one
// replace. A store holds the secrets of one program, each under an account
// name.

#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

class SecretStore {
public:
    virtual ~SecretStore() = default;
    // The secret kept for the account; nullopt when there is none or no
    // store answers.
    virtual std::optional<std::string> find(std::string_view account) = 0;
    // Keeps the secret (any bytes) for the account, in place of every other
    // secret of the program; false when no store took it.
    virtual bool keep(std::string_view account, std::string_view secret) = 0;
    // Removes every secret of the program; false when no store answered.
    virtual bool forgetAll() = 0;
};

// A desktop without a secret store: finds nothing, keeps nothing.
class NoSecretStore final : public SecretStore {
public:
    std::optional<std::string> find(std::string_view) override { return std::nullopt; }
    bool keep(std::string_view, std::string_view) override { return false; }
    bool forgetAll() override { return false; }
};

} // namespace tessaly
