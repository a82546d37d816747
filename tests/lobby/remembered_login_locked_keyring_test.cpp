// The remembered login over a keyring that stays locked: the test runs under
// tests/support/with-secret-service --locked, where the daemon answers on the
// bus but has no display for its unlock prompt. The login goes on with the
// file, which stays the user's alone.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "client/lobby/RememberedLogin.h"
#include "platform/secrets/SecretServiceStore.h"
#include "tests/support/SecretService.h"

namespace tessaly {
namespace {

TEST(RememberedWithALockedKeyring, ThePasswordStaysInAPrivateFileOfAFreshAccount)
{
    if (const std::string missing = secretServiceMissing("locked"); !missing.empty())
        GTEST_SKIP() << missing;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("home/.config/Tessaly.conf"));
    SecretServiceStore keyring(kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel);
    RememberedLogin store(keyring, file);

    store.write({"joe12", "secret9"});
    NoSecretStore noKeyring;
    EXPECT_EQ(RememberedLogin(noKeyring, file).read().password, "secret9") << "the file holds the password";
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);

    // The next start asks the locked keyring again, and gives up as well.
    SecretServiceStore nextRun(kLoginSecretSchema, kLoginSecretAttribute, kLoginSecretLabel);
    RememberedLogin next(nextRun, file);
    next.write({"joe12", "changed1"});
    const LoginPair read = next.read();
    EXPECT_EQ(read.screenName, "joe12");
    EXPECT_EQ(read.password, "changed1");
    next.forget();
    EXPECT_EQ(next.read().password, "");
}

} // namespace
} // namespace tessaly
