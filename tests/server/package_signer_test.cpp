// The house's signing key and the signatures of the packages it serves.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/signing/Minisign.h"
#include "server/web/PackageSigner.h"
#include "server/web/WebRoot.h"
#include "tests/updater/TestArchive.h"

namespace tessaly::house {
namespace {

using testing::readFile;

TEST(PackageSigner, KeepsOnePrivateKeyAndSignsEachPackageForItsAnnouncedVersion)
{
    char made[] = "/tmp/tessaly-signer-XXXXXX";
    ASSERT_NE(::mkdtemp(made), nullptr);
    const std::string data = made;
    const std::string root = data + "/www";
    ASSERT_TRUE(prepareWebRoot(root, nullptr));
    std::ofstream(root + "/upgrades/upgrade.txt") << "6.9\r";

    ASSERT_TRUE(PackageSigner::inDataFolder(data).writePublicKey(data + "/first.pub"));
    struct stat st {};
    ASSERT_EQ(::stat((data + "/" + kSigningKeyFile).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const PackageSigner signer = PackageSigner::inDataFolder(data);
    ASSERT_TRUE(signer.writePublicKey(data + "/second.pub"));
    EXPECT_EQ(readFile(data + "/second.pub"), readFile(data + "/first.pub")) << "the key of the first start stays";
    const std::vector<signing::PublicKey> keys = signing::readPublicKeys(readFile(data + "/first.pub"));
    ASSERT_EQ(keys.size(), 1u);

    struct Case {
        const char* package;
        const char* comment;
    };
    for (const Case c : {Case{"/upgrades/Upgrade.zip", "version:6.7\tfile:Upgrade.zip"},
                         Case{"/upgrades/Incremental.zip", "version:6.9\tfile:Incremental.zip"}}) {
        SCOPED_TRACE(c.package);
        const std::optional<std::string> text = signer.signatureFor(root, c.package);
        ASSERT_TRUE(text);
        const std::optional<signing::SignatureFile> signature = signing::readSignatureFile(*text);
        ASSERT_TRUE(signature);
        EXPECT_EQ(signature->trustedComment, c.comment);
        EXPECT_EQ(signature->keyId, keys[0].id);
        EXPECT_TRUE(signing::verifyTrustedComment(*signature, keys[0]));
        const std::string package = readFile(root + c.package);
        EXPECT_TRUE(signing::verifyFile(*signature, keys[0], signing::hashOf(package), package));
    }
    EXPECT_FALSE(signer.signatureFor(root, "/upgrades/none.zip"));
    std::filesystem::remove_all(data);
}

} // namespace
} // namespace tessaly::house
