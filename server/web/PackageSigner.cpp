#include "server/web/PackageSigner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "server/web/WebServer.h"

namespace tessaly::house {
namespace {

constexpr std::string_view kKeyComment = "untrusted comment: tessaly-house update signing key\n";

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The key file: its comment, then base64(key id || libsodium secret key,
// which ends with the public key).
std::optional<signing::SigningKey> parseKey(const std::string& text)
{
    if (!text.starts_with(kKeyComment))
        return std::nullopt;
    std::string line = text.substr(kKeyComment.size());
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    const std::optional<std::vector<std::uint8_t>> bytes = signing::fromBase64(line);
    signing::SigningKey key;
    if (!bytes || bytes->size() != key.id.size() + key.secretKey.size())
        return std::nullopt;
    std::copy(bytes->begin(), bytes->begin() + 8, key.id.begin());
    std::copy(bytes->begin() + 8, bytes->end(), key.secretKey.begin());
    std::copy(key.secretKey.begin() + 32, key.secretKey.end(), key.publicKey.begin());
    return key;
}

std::string keyText(const signing::SigningKey& key)
{
    std::vector<std::uint8_t> bytes(key.id.begin(), key.id.end());
    bytes.insert(bytes.end(), key.secretKey.begin(), key.secretKey.end());
    return std::string(kKeyComment) + signing::toBase64(bytes.data(), bytes.size()) + "\n";
}

// The first number of a version file ("6.9\r"), as text.
std::optional<std::string> firstNumber(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    std::size_t end = at;
    while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '.'))
        ++end;
    if (end == at)
        return std::nullopt;
    return text.substr(at, end - at);
}

} // namespace

std::optional<std::string> versionFileOf(std::string_view packagePath)
{
    if (packagePath == "/upgrades/Upgrade.zip")
        return "/upgrades/version.txt";
    if (packagePath == "/upgrades/Incremental.zip")
        return "/upgrades/upgrade.txt";
    return std::nullopt;
}

PackageSigner PackageSigner::inDataFolder(const std::string& dataDir)
{
    const std::string path = dataDir + "/" + kSigningKeyFile;
    if (std::filesystem::exists(path)) {
        const std::optional<signing::SigningKey> key = parseKey(readWhole(path));
        if (!key)
            throw std::runtime_error(path + " holds no signing key");
        return PackageSigner(*key);
    }
    const signing::SigningKey key = signing::makeSigningKey();
    // Made private from its first byte: never readable by others, even briefly.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    const std::string text = keyText(key);
    const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + path);
    return PackageSigner(key);
}

bool PackageSigner::writePublicKey(const std::string& path) const
{
    const std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << signing::publicKeyFile(key_.publicPart());
        if (!out)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::optional<std::string> PackageSigner::signatureFor(const std::string& webRoot, const std::string& requestPath) const
{
    const std::string file = webFileFor(webRoot, requestPath, {});
    if (file.empty())
        return std::nullopt;
    std::string comment = "file:" + std::filesystem::path(file).filename().string();
    if (const std::optional<std::string> versionFile = versionFileOf(requestPath)) {
        const std::string announcing = webFileFor(webRoot, *versionFile, {});
        if (const std::optional<std::string> version = announcing.empty() ? std::nullopt : firstNumber(readWhole(announcing)))
            comment = "version:" + *version + "\t" + comment;
    }
    return signing::signatureFile(key_, signing::hashOf(readWhole(file)), comment);
}

} // namespace tessaly::house
