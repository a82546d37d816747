#pragma once
// The house's signing key for its upgrade packages. The first start makes
// it in the data folder (DATA/update-signing.key, mode 0600); every start
// writes its public key in the minisign format to DATA/update-keys.pub and,
// when asked, into a client's install, so that the client's updater trusts
// what this house serves.
//
// A package is signed when its ".minisig" is asked for, so a package that a
// tester puts in the web root is signed too. The trusted comment names the
// version of the version file that announces the package:
// "version:6.9\tfile:Incremental.zip".

#include <optional>
#include <string>
#include <string_view>

#include "platform/signing/Minisign.h"

namespace tessaly::house {

inline constexpr const char* kSigningKeyFile = "update-signing.key";
inline constexpr const char* kPublicKeyFile = "update-keys.pub";

class PackageSigner {
public:
    // Reads the key of the data folder, or makes it; throws when neither works.
    static PackageSigner inDataFolder(const std::string& dataDir);

    // Writes the public key file; false when it cannot be written.
    bool writePublicKey(const std::string& path) const;

    // The signature file of the package at `requestPath` below the web root
    // ("/upgrades/Incremental.zip"), nullopt when it names no file there.
    std::optional<std::string> signatureFor(const std::string& webRoot, const std::string& requestPath) const;

private:
    explicit PackageSigner(signing::SigningKey key) : key_(key) {}

    signing::SigningKey key_;
};

// The version file that announces a package of the web root, by its name.
std::optional<std::string> versionFileOf(std::string_view packagePath);

} // namespace tessaly::house
