#include "updater/PackageDigest.h"

namespace tessaly::updater {

void PackageDigest::reset()
{
    signing::initialiseSodium();
    crypto_generichash_init(&state_, nullptr, 0, signing::FileHash{}.size());
}

void PackageDigest::add(std::string_view bytes)
{
    crypto_generichash_update(&state_, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

signing::FileHash PackageDigest::finish()
{
    signing::FileHash hash{};
    crypto_generichash_final(&state_, hash.data(), hash.size());
    return hash;
}

} // namespace tessaly::updater
