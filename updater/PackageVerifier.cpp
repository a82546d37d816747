#include "updater/PackageVerifier.h"

#include <algorithm>
#include <charconv>

#include "client/net/RefusedUpdate.h"

namespace tessaly::updater {
namespace {

constexpr std::string_view kVersionTag = "version:";

} // namespace

std::string refusalMessage(const Refusal& r)
{
    std::string why;
    switch (r.kind) {
    case UpdateRefusal::MissingSignature:
        why = "the package has no signature.";
        break;
    case UpdateRefusal::MalformedSignature:
        why = "the package's signature file cannot be read.";
        break;
    case UpdateRefusal::ForeignKey:
        why = "the package is signed with a key this install does not trust.";
        break;
    case UpdateRefusal::BadSignature:
        why = "the package does not match its signature; it may have been tampered with.";
        break;
    case UpdateRefusal::NoVersion:
        why = "the package's signature names no version.";
        break;
    case UpdateRefusal::LowerVersion:
        why = "the package is version " + versionNumberText(r.signedVersion.value_or(0)) +
              ", older than the installed version " + versionNumberText(r.versions.installed) + ".";
        break;
    case UpdateRefusal::MismatchedVersion:
        why = "the package is version " + versionNumberText(r.signedVersion.value_or(0)) + ", not the version " +
              versionNumberText(r.versions.announced.value_or(0)) + " that the update server announced.";
        break;
    }
    return "The update was refused: " + why + "\rNothing was installed; Tessaly starts again as it was.";
}

std::optional<double> signedVersion(std::string_view comment)
{
    for (std::size_t at = comment.find(kVersionTag); at != std::string_view::npos;
         at = comment.find(kVersionTag, at + 1)) {
        if (at > 0 && comment[at - 1] != ' ' && comment[at - 1] != '\t')
            continue;
        const char* first = comment.data() + at + kVersionTag.size();
        double version = 0.0;
        const auto [end, error] = std::from_chars(first, comment.data() + comment.size(), version);
        if (error == std::errc() && end != first && version > 0.0)
            return version;
    }
    return std::nullopt;
}

PackageVerifier::PackageVerifier(std::vector<signing::PublicKey> keys, VersionRule versions)
    : keys_(std::move(keys)), versions_(versions)
{
}

std::optional<Refusal> PackageVerifier::acceptSignature(std::optional<std::string_view> text)
{
    if (!text)
        return refuse(UpdateRefusal::MissingSignature);
    signature_ = signing::readSignatureFile(*text);
    if (!signature_)
        return refuse(UpdateRefusal::MalformedSignature);
    const auto key = std::find_if(keys_.begin(), keys_.end(),
                                  [&](const signing::PublicKey& k) { return k.id == signature_->keyId; });
    if (key == keys_.end())
        return refuse(UpdateRefusal::ForeignKey);
    if (!signing::verifyTrustedComment(*signature_, *key))
        return refuse(UpdateRefusal::BadSignature);
    signer_ = *key;
    version_ = signedVersion(signature_->trustedComment);
    if (!version_)
        return refuse(UpdateRefusal::NoVersion);
    if (*version_ < versions_.installed)
        return refuse(UpdateRefusal::LowerVersion);
    if (versions_.announced && *version_ != *versions_.announced)
        return refuse(UpdateRefusal::MismatchedVersion);
    return std::nullopt;
}

std::optional<Refusal> PackageVerifier::acceptPackage(const signing::FileHash& hash, std::string_view bytes) const
{
    if (!signature_ || !signer_)
        return refuse(UpdateRefusal::MissingSignature);
    if (!signing::verifyFile(*signature_, *signer_, hash, bytes))
        return refuse(UpdateRefusal::BadSignature);
    return std::nullopt;
}

} // namespace tessaly::updater
