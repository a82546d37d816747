#pragma once
// The keys an install trusts for its updates: "update-keys.pub" in the
// install directory, one or more public keys in the minisign format (two
// during a key change: the old one and the new one). An install without the
// file takes unsigned packages, as development builds do; the run says so
// once in the log.

#include <string>
#include <vector>

#include "platform/signing/Minisign.h"

namespace tessaly::updater {

inline constexpr const char* kTrustedKeysFile = "update-keys.pub";

class InstallTrust {
public:
    static InstallTrust readFrom(const std::string& installDir);

    // True when the install has a key file: every package must then be
    // signed by one of its keys (a file without a readable key trusts none).
    bool requiresSignatures() const { return requiresSignatures_; }
    const std::vector<signing::PublicKey>& keys() const { return keys_; }

private:
    bool requiresSignatures_ = false;
    std::vector<signing::PublicKey> keys_;
};

} // namespace tessaly::updater
