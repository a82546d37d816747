// Signed updates: packages signed in the test with real keys (libsodium,
// and the minisign program when it is installed), served by a local server,
// installed or refused by a whole run of the updater.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "client/net/ClientVersion.h"
#include "client/net/RefusedUpdate.h"
#include "platform/signing/Minisign.h"
#include "tests/app/LocalHttpServer.h"
#include "tests/support/RecordingPorts.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/updater/InstallFolder.h"
#include "tests/updater/TestArchive.h"
#include "updater/StagedInstall.h"
#include "updater/UpgradeRun.h"

namespace tessaly::updater {
namespace {

using testing::InstallFolder;
using testing::LocalHttpServer;
using testing::makeArchive;
using testing::readFile;
using testing::writeFile;

constexpr const char* kPackagePath = "/upgrades/Incremental.zip";
const AnnouncedVersions kAnnounced{6.8, 6.9};
const std::string kPackage = makeArchive({{"common.txt", "from the package"}, {"added.txt", "added"}});

// One byte of a base64 line of a signature file changed: line 1 (algorithm,
// key id, signature) or 3 (global signature), at `at` of its bytes.
std::string flipped(const std::string& signature, std::size_t line, std::size_t at)
{
    std::vector<std::string> lines;
    std::stringstream in(signature);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    std::vector<std::uint8_t> bytes = signing::fromBase64(lines.at(line)).value();
    bytes.at(at) ^= 0x01;
    lines[line] = signing::toBase64(bytes.data(), bytes.size());
    std::string out;
    for (const std::string& l : lines)
        out += l + "\n";
    return out;
}

std::string flippedPackage()
{
    std::string bytes = kPackage;
    bytes[bytes.size() / 2] ^= 0x01;
    return bytes;
}

// An install with the client and a file the package replaces, trusting
// `keys`; the run of one INCREMENTAL update against the local server.
struct SignedSite {
    LocalHttpServer server;
    InstallFolder folder;
    ProgressRecord progress;
    CurlHttpStream http;
    HttpDownloader downloader{http, progress};
    ScriptedMessageBoxes boxes;
    testing::RecordingLauncher launcher;

    explicit SignedSite(const std::string& keys)
    {
        writeFile(folder.at("Tessaly"), "client 6.7");
        writeFile(folder.at("common.txt"), "from the install");
        if (!keys.empty())
            writeFile(folder.at(kTrustedKeysFile), keys);
    }
    void serve(const std::string& package, const std::optional<std::string>& signature)
    {
        server.route(kPackagePath, {200, package});
        if (signature)
            server.route(std::string(kPackagePath) + ".minisig", {200, *signature});
    }
    void run()
    {
        UpgradeRun(server.url(), folder.install(), {downloader, boxes, launcher, progress}, kAnnounced)
            .run(UpgradeMode::Incremental);
    }
    // The install without the refusal's marker.
    std::map<std::string, std::string> installed() const
    {
        std::map<std::string, std::string> tree = testing::snapshot(folder.install());
        tree.erase(kRefusedUpdateFile);
        return tree;
    }
};

// The package was installed and the client started, without a word.
void expectInstalled(const SignedSite& site)
{
    EXPECT_TRUE(site.boxes.shown.empty()) << site.boxes.texts().front();
    EXPECT_EQ(readFile(site.folder.at("common.txt")), "from the package");
    EXPECT_EQ(readFile(site.folder.at("added.txt")), "added");
    EXPECT_FALSE(std::filesystem::exists(site.folder.at(kRefusedUpdateFile)));
    EXPECT_EQ(site.launcher.started.size(), 1u);
}

// The refusal's message, nothing installed, no package left, the marker for
// the client, and the client started as it was.
void expectRefused(const SignedSite& site, const std::map<std::string, std::string>& before,
                   const Refusal& refusal)
{
    ASSERT_EQ(site.boxes.texts(), std::vector<std::string>{refusalMessage(refusal)});
    EXPECT_EQ(site.installed(), before);
    EXPECT_FALSE(std::filesystem::exists(site.folder.at("value.zip")));
    EXPECT_EQ(readFile(site.folder.at(kRefusedUpdateFile)), refusedUpdateMarker(kAnnounced));
    ASSERT_EQ(site.launcher.started.size(), 1u);
    EXPECT_EQ(site.launcher.started[0].program, site.folder.at("Tessaly"));
    EXPECT_EQ(site.progress.installPhase, kPhaseFinished);
}

TEST(SignedUpdate, OnlyAPackageSignedForItsVersionByATrustedKeyIsInstalled)
{
    const signing::SigningKey oldKey = signing::makeSigningKey();
    const signing::SigningKey newKey = signing::makeSigningKey();
    const signing::SigningKey foreignKey = signing::makeSigningKey();
    const std::string oneKey = signing::publicKeyFile(oldKey.publicPart());
    const std::string bothKeys = oneKey + signing::publicKeyFile(newKey.publicPart());
    const auto signedBy = [](const signing::SigningKey& key, const char* comment) {
        return signing::signatureFile(key, signing::hashOf(kPackage), comment);
    };
    const std::string good = signedBy(oldKey, "version:6.9\tfile:Incremental.zip");
    std::string changedComment = good;
    changedComment[changedComment.find("version:6.9") + 10] = '8';

    struct Case {
        const char* what;
        std::string keys;
        std::string package;
        std::optional<std::string> signature;
        std::optional<UpdateRefusal> refusal;   // none: installed
        std::optional<double> signedVersion{};
    };
    const Case cases[] = {
        {"good signature", oneKey, kPackage, good, {}},
        {"new key while both are trusted", bothKeys, kPackage, signedBy(newKey, "version:6.9"), {}},
        {"no key file, no signature", "", kPackage, std::nullopt, {}},
        {"flipped byte in the package", oneKey, flippedPackage(), good, UpdateRefusal::BadSignature, 6.9},
        {"flipped byte in the signature", oneKey, kPackage, flipped(good, 1, 20), UpdateRefusal::BadSignature},
        {"changed byte in the trusted comment", oneKey, kPackage, changedComment, UpdateRefusal::BadSignature},
        {"flipped byte in the global signature", oneKey, kPackage, flipped(good, 3, 5), UpdateRefusal::BadSignature},
        {"unknown key", bothKeys, kPackage, signedBy(foreignKey, "version:6.9"), UpdateRefusal::ForeignKey},
        {"signature missing", oneKey, kPackage, std::nullopt, UpdateRefusal::MissingSignature},
        {"signature file cut short", oneKey, kPackage, good.substr(0, good.size() / 2),
         UpdateRefusal::MalformedSignature},
        {"comment without a version", oneKey, kPackage, signedBy(oldKey, "file:Incremental.zip"),
         UpdateRefusal::NoVersion},
        {"lower version", oneKey, kPackage, signedBy(oldKey, "version:6.5"), UpdateRefusal::LowerVersion, 6.5},
        {"version other than announced", oneKey, kPackage, signedBy(oldKey, "version:6.8"),
         UpdateRefusal::MismatchedVersion, 6.8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SignedSite site(c.keys);
        site.serve(c.package, c.signature);
        const std::map<std::string, std::string> before = site.installed();
        site.run();
        if (c.refusal)
            expectRefused(site, before, {*c.refusal, c.signedVersion, {kClientVersion, kAnnounced.upgrade}});
        else
            expectInstalled(site);
    }
}

// The stock tool's key file and signatures, as a release engineer makes them.
TEST(SignedUpdate, PackagesSignedByTheMinisignProgramInstall)
{
    if (std::system("command -v minisign >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "minisign is not installed";
    InstallFolder tool;
    const std::string publicKey = tool.outside() + "/minisign.pub";
    const std::string secretKey = tool.outside() + "/minisign.key";
    const std::string package = tool.outside() + "/Incremental.zip";
    ASSERT_EQ(std::system(("minisign -G -W -p " + publicKey + " -s " + secretKey + " >/dev/null").c_str()), 0);
    writeFile(package, kPackage);
    const std::string signPackage = std::string(std::getenv("TESSALY_SOURCE_DIR")) + "/scripts/sign-package " +
                                    secretKey + " " + package + " 6.9 >/dev/null";
    const std::string legacy = "minisign -S -l -s " + secretKey + " -m " + package + " -t version:6.9 >/dev/null";
    struct Case {
        const char* what;
        std::string command;
        std::string served;
        bool refused;
    };
    const Case cases[] = {
        {"scripts/sign-package", signPackage, kPackage, false},
        {"legacy signature", legacy, kPackage, false},
        {"flipped byte in the package", signPackage, flippedPackage(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(std::system(c.command.c_str()), 0);
        SignedSite site(readFile(publicKey));
        site.serve(c.served, readFile(package + ".minisig"));
        const std::map<std::string, std::string> before = site.installed();
        site.run();
        if (c.refused)
            expectRefused(site, before, {UpdateRefusal::BadSignature, 6.9, {kClientVersion, kAnnounced.upgrade}});
        else
            expectInstalled(site);
    }
}

TEST(SignedUpdate, AStagingFolderLeftByAKilledRunIsRemoved)
{
    SignedSite site("");
    const std::string left = site.folder.at(std::string(kStagingPrefix) + "killed");
    std::filesystem::create_directories(left + "/images");
    writeFile(left + "/images/half.png", "half written");
    site.serve(kPackage, std::nullopt);
    site.run();
    EXPECT_FALSE(std::filesystem::exists(left));
    expectInstalled(site);
}

} // namespace
} // namespace tessaly::updater
