#pragma once
// The desktop's Secret Service (the freedesktop.org D-Bus interface that
// keyring daemons provide) through libsecret: one schema per program, the
// account name as its one attribute. When the process has no session bus
// (no DBUS_SESSION_BUS_ADDRESS and no $XDG_RUNTIME_DIR/bus) or no Secret
// Service answers on it, every call fails and the caller falls back.
//
// A locked keyring asks the user to unlock it; where its prompt cannot be
// shown (no display for the daemon) the call would never end. So each call
// waits at most kSecretServiceDeadlineMs and is then cancelled, and a store
// that has let a call run out is not asked again: the program falls back
// at once for the rest of its run.

#include <memory>
#include <string>

#include "platform/secrets/SecretStore.h"

namespace tessaly {

inline constexpr int kSecretServiceDeadlineMs = 3000;

class SecretServiceStore final : public SecretStore {
public:
    // schema: the program's schema name ("example.tessaly.Tessaly.Login");
    // attribute: the name of the account attribute; label: what the
    // keyring's own tools show for an item.
    SecretServiceStore(const std::string& schema, std::string attribute, std::string label);
    ~SecretServiceStore() override;
    SecretServiceStore(const SecretServiceStore&) = delete;
    SecretServiceStore& operator=(const SecretServiceStore&) = delete;

    std::optional<std::string> find(std::string_view account) override;
    bool keep(std::string_view account, std::string_view secret) override;
    bool forgetAll() override;

private:
    bool available() const;

    struct Schema;
    std::unique_ptr<Schema> schema_;
    std::string label_;
    bool unanswered_ = false;   // a call ran out of time
};

} // namespace tessaly
