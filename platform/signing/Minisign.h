#pragma once
// The minisign text formats for detached Ed25519 signatures, read and
// written here on libsodium:
//
// Public key file, two lines:
//     untrusted comment: <text>
//     base64("Ed" || key id (8 bytes) || public key (32 bytes))
// Signature file, four lines:
//     untrusted comment: <text>
//     base64(algorithm (2 bytes) || key id (8 bytes) || signature (64 bytes))
//     trusted comment: <text>
//     base64(global signature (64 bytes))
// Algorithm "ED" signs the BLAKE2b-512 hash of the file, the legacy "Ed"
// the file itself. The global signature signs signature || trusted comment,
// so the comment cannot be changed without the secret key.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::signing {

using KeyId = std::array<std::uint8_t, 8>;
using PublicKeyBytes = std::array<std::uint8_t, 32>;
using SecretKeyBytes = std::array<std::uint8_t, 64>;
using SignatureBytes = std::array<std::uint8_t, 64>;
using FileHash = std::array<std::uint8_t, 64>;   // BLAKE2b-512

struct PublicKey {
    KeyId id{};
    PublicKeyBytes key{};
};

struct SigningKey {
    KeyId id{};
    PublicKeyBytes publicKey{};
    SecretKeyBytes secretKey{};

    PublicKey publicPart() const { return {id, publicKey}; }
};

enum class SignatureAlgorithm { Prehashed, Legacy };   // "ED", "Ed"

struct SignatureFile {
    SignatureAlgorithm algorithm = SignatureAlgorithm::Prehashed;
    KeyId keyId{};
    SignatureBytes signature{};
    std::string trustedComment;   // the text after "trusted comment: "
    SignatureBytes globalSignature{};
};

// Every key line of a public key file; a file may list several keys, each
// with its untrusted comment line before it. Lines that are no key are
// skipped. Empty when none is found.
std::vector<PublicKey> readPublicKeys(std::string_view text);

// The public key file of one key.
std::string publicKeyFile(const PublicKey& key);

// nullopt when the text is not a signature file of this format.
std::optional<SignatureFile> readSignatureFile(std::string_view text);

// Starts libsodium; every function here calls it, code that uses libsodium
// directly calls it first.
void initialiseSodium();

// The BLAKE2b-512 hash of bytes, in pieces (PackageDigest) or at once.
FileHash hashOf(std::string_view bytes);

// True when the global signature holds for the trusted comment and the
// signature holds for the file: `hash` for "ED", `file` for "Ed".
bool verifyTrustedComment(const SignatureFile& sig, const PublicKey& key);
bool verifyFile(const SignatureFile& sig, const PublicKey& key, const FileHash& hash, std::string_view file);

// A fresh key with a random id.
SigningKey makeSigningKey();
// The signature file of a file with this hash ("ED").
std::string signatureFile(const SigningKey& key, const FileHash& hash, std::string_view trustedComment);

// The key id as minisign shows it: 16 upper-case hex digits, last byte first.
std::string keyIdText(const KeyId& id);

// Base64 without line breaks, and back (nullopt for text that is not).
std::string toBase64(const std::uint8_t* bytes, std::size_t size);
std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text);

} // namespace tessaly::signing
