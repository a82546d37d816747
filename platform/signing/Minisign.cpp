#include "platform/signing/Minisign.h"

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace tessaly::signing {
namespace {

constexpr std::string_view kUntrustedPrefix = "untrusted comment: ";
constexpr std::string_view kTrustedPrefix = "trusted comment: ";
constexpr std::size_t kKeyLineBytes = 2 + 8 + 32;
constexpr std::size_t kSignatureLineBytes = 2 + 8 + 64;

// The lines of a text, "\r\n" or "\n" ended; a last line without an end counts.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

template <std::size_t N>
void copyInto(std::array<std::uint8_t, N>& to, const std::uint8_t* from)
{
    std::copy(from, from + N, to.begin());
}

} // namespace

void initialiseSodium()
{
    // Thread-safe and idempotent; it fails only when no entropy source exists.
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot start");
}

std::string toBase64(const std::uint8_t* bytes, std::size_t size)
{
    std::string text(sodium_base64_ENCODED_LEN(size, sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), bytes, size, sodium_base64_VARIANT_ORIGINAL);
    text.resize(std::strlen(text.c_str()));
    return text;
}

std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text)
{
    std::vector<std::uint8_t> bytes(text.size() / 4 * 3 + 3);
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), text.data(), text.size(), nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != text.data() + text.size())
        return std::nullopt;
    bytes.resize(length);
    return bytes;
}

std::vector<PublicKey> readPublicKeys(std::string_view text)
{
    std::vector<PublicKey> keys;
    for (std::string_view line : linesOf(text)) {
        if (line.empty() || line.starts_with(kUntrustedPrefix))
            continue;
        const std::optional<std::vector<std::uint8_t>> bytes = fromBase64(line);
        if (!bytes || bytes->size() != kKeyLineBytes || (*bytes)[0] != 'E' || (*bytes)[1] != 'd')
            continue;
        PublicKey key;
        copyInto(key.id, bytes->data() + 2);
        copyInto(key.key, bytes->data() + 10);
        keys.push_back(key);
    }
    return keys;
}

std::string publicKeyFile(const PublicKey& key)
{
    std::vector<std::uint8_t> bytes{'E', 'd'};
    bytes.insert(bytes.end(), key.id.begin(), key.id.end());
    bytes.insert(bytes.end(), key.key.begin(), key.key.end());
    return std::string(kUntrustedPrefix) + "minisign public key " + keyIdText(key.id) + "\n" +
           toBase64(bytes.data(), bytes.size()) + "\n";
}

std::optional<SignatureFile> readSignatureFile(std::string_view text)
{
    const std::vector<std::string_view> lines = linesOf(text);
    if (lines.size() < 4 || !lines[0].starts_with(kUntrustedPrefix) || !lines[2].starts_with(kTrustedPrefix))
        return std::nullopt;
    const std::optional<std::vector<std::uint8_t>> main = fromBase64(lines[1]);
    const std::optional<std::vector<std::uint8_t>> global = fromBase64(lines[3]);
    if (!main || main->size() != kSignatureLineBytes || !global || global->size() != SignatureBytes{}.size())
        return std::nullopt;
    SignatureFile sig;
    const std::string algorithm((*main).begin(), (*main).begin() + 2);
    if (algorithm == "ED")
        sig.algorithm = SignatureAlgorithm::Prehashed;
    else if (algorithm == "Ed")
        sig.algorithm = SignatureAlgorithm::Legacy;
    else
        return std::nullopt;
    copyInto(sig.keyId, main->data() + 2);
    copyInto(sig.signature, main->data() + 10);
    sig.trustedComment = std::string(lines[2].substr(kTrustedPrefix.size()));
    copyInto(sig.globalSignature, global->data());
    return sig;
}

FileHash hashOf(std::string_view bytes)
{
    initialiseSodium();
    FileHash hash{};
    crypto_generichash(hash.data(), hash.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                       nullptr, 0);
    return hash;
}

bool verifyTrustedComment(const SignatureFile& sig, const PublicKey& key)
{
    initialiseSodium();
    std::string signedText(sig.signature.begin(), sig.signature.end());
    signedText += sig.trustedComment;
    return crypto_sign_verify_detached(sig.globalSignature.data(),
                                       reinterpret_cast<const unsigned char*>(signedText.data()), signedText.size(),
                                       key.key.data()) == 0;
}

bool verifyFile(const SignatureFile& sig, const PublicKey& key, const FileHash& hash, std::string_view file)
{
    initialiseSodium();
    const auto* message = sig.algorithm == SignatureAlgorithm::Prehashed
                              ? hash.data()
                              : reinterpret_cast<const unsigned char*>(file.data());
    const std::size_t length = sig.algorithm == SignatureAlgorithm::Prehashed ? hash.size() : file.size();
    return crypto_sign_verify_detached(sig.signature.data(), message, length, key.key.data()) == 0;
}

SigningKey makeSigningKey()
{
    initialiseSodium();
    SigningKey key;
    crypto_sign_keypair(key.publicKey.data(), key.secretKey.data());
    randombytes_buf(key.id.data(), key.id.size());
    return key;
}

std::string signatureFile(const SigningKey& key, const FileHash& hash, std::string_view trustedComment)
{
    initialiseSodium();
    SignatureBytes signature{};
    crypto_sign_detached(signature.data(), nullptr, hash.data(), hash.size(), key.secretKey.data());
    std::string globalText(signature.begin(), signature.end());
    globalText += trustedComment;
    SignatureBytes global{};
    crypto_sign_detached(global.data(), nullptr, reinterpret_cast<const unsigned char*>(globalText.data()),
                         globalText.size(), key.secretKey.data());

    std::vector<std::uint8_t> main{'E', 'D'};
    main.insert(main.end(), key.id.begin(), key.id.end());
    main.insert(main.end(), signature.begin(), signature.end());
    return std::string(kUntrustedPrefix) + "signature from minisign secret key\n" + toBase64(main.data(), main.size()) +
           "\n" + std::string(kTrustedPrefix) + std::string(trustedComment) + "\n" +
           toBase64(global.data(), global.size()) + "\n";
}

std::string keyIdText(const KeyId& id)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (auto byte = id.rbegin(); byte != id.rend(); ++byte) {
        text += kDigits[*byte >> 4];
        text += kDigits[*byte & 0xf];
    }
    return text;
}

} // namespace tessaly::signing
