#pragma once
// The BLAKE2b-512 hash of a package, taken piece by piece while its bytes
// arrive, so that checking its signature costs no second pass over it.

#include <sodium.h>

#include <string_view>

#include "platform/signing/Minisign.h"

namespace tessaly::updater {

class PackageDigest {
public:
    PackageDigest() { reset(); }

    void reset();
    void add(std::string_view bytes);
    // The hash of everything added since the last reset.
    signing::FileHash finish();

private:
    crypto_generichash_state state_{};
};

} // namespace tessaly::updater
