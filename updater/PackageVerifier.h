#pragma once
// The rules that decide whether a downloaded package may be installed: its
// minisign signature by a key the install trusts, and the version signed in
// its trusted comment ("version:6.8"). No window, no files, no network.
//
//     PackageVerifier verifier(trust.keys(), {installedVersion, announced});
//     if (auto refusal = verifier.acceptSignature(signatureText)) ...  // before the download
//     if (auto refusal = verifier.acceptPackage(digest.finish(), bytes)) ...

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/signing/Minisign.h"

namespace tessaly::updater {

enum class UpdateRefusal {
    MissingSignature,     // keys are installed, the server has no signature
    MalformedSignature,   // the signature file is not of the format
    ForeignKey,           // signed by a key the install does not trust
    BadSignature,         // the package or its trusted comment was changed
    NoVersion,            // the trusted comment names no version
    LowerVersion,         // older than the installed client
    MismatchedVersion,    // not the version the version check announced
};

struct VersionRule {
    double installed = 0.0;
    std::optional<double> announced{};   // known when the client said which version it wanted
};

struct Refusal {
    UpdateRefusal kind;
    std::optional<double> signedVersion{};
    VersionRule versions{};
};

// The text the user reads, on the window and on standard error ("\r"
// breaks its lines, as in every box of the system).
std::string refusalMessage(const Refusal& refusal);

// The number after "version:" in a trusted comment, as the first word or
// after a blank or tab; nullopt when there is none or it is not above 0.
std::optional<double> signedVersion(std::string_view trustedComment);

class PackageVerifier {
public:
    PackageVerifier(std::vector<signing::PublicKey> keys, VersionRule versions);

    // The signature file's text, nullopt when the server has none. Checks
    // all that needs no package: the format, the key, the trusted comment
    // and its version.
    std::optional<Refusal> acceptSignature(std::optional<std::string_view> text);

    // After acceptSignature() gave nothing: the package itself, by its hash
    // (prehashed signatures) or its bytes (legacy ones).
    std::optional<Refusal> acceptPackage(const signing::FileHash& hash, std::string_view bytes) const;

private:
    Refusal refuse(UpdateRefusal kind) const { return {kind, version_, versions_}; }

    std::vector<signing::PublicKey> keys_;
    VersionRule versions_;
    std::optional<signing::SignatureFile> signature_;
    std::optional<signing::PublicKey> signer_;
    std::optional<double> version_;
};

} // namespace tessaly::updater
