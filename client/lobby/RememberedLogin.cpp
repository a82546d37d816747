#include "client/lobby/RememberedLogin.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

const QString kUserNameKey = QStringLiteral("username");
const QString kPasswordValueKey = QStringLiteral("password");

// The stored bytes, or none when the value is absent, of another type, or
// too long.
enum class Encoding { Utf8, Latin1 };

std::string storedBytes(const QSettings& settings, const QString& key, Encoding encoding)
{
    const QVariant value = settings.value(key);
    if (value.typeId() != QMetaType::QString)
        return {};
    const QString text = value.toString();
    const QByteArray bytes = encoding == Encoding::Utf8 ? text.toUtf8() : text.toLatin1();
    if (bytes.size() > static_cast<qsizetype>(kRememberedValueMaxBytes))
        return {};
    return bytes.toStdString();
}

std::string capped(std::string value)
{
    return value.size() > kRememberedValueMaxBytes ? std::string() : value;
}

constexpr mode_t kPrivateFile = S_IRUSR | S_IWUSR;

// Creates the missing folders on the way to the file, each the user's alone:
// the configuration folder of a fresh account may not exist yet.
void makePrivateFolders(const QByteArray& filePath)
{
    std::vector<QByteArray> missing;
    QByteArray folder = filePath.left(filePath.lastIndexOf('/'));
    struct stat status {};
    while (!folder.isEmpty() && ::stat(folder.constData(), &status) != 0) {
        missing.push_back(folder);
        folder = folder.left(folder.lastIndexOf('/'));
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it)
        ::mkdir(it->constData(), S_IRWXU);
}

// Tightens the file to the user's alone; false when there is no file.
bool tightenExisting(const QByteArray& path)
{
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return false;
    if (S_ISREG(status.st_mode) && (status.st_mode & 0777) != kPrivateFile)
        ::chmod(path.constData(), kPrivateFile);
    return true;
}

// The file holds a password (scrambled or, from a keyring-less run, the
// only copy): it is created, or tightened, to be the user's alone before
// anything is written into it. The settings writer replaces the file by a
// new one with the old one's permissions, so the mode carries over; a file
// it creates itself would take the umask.
void makePrivate(const QString& filePath)
{
    const QByteArray path = QFile::encodeName(filePath);
    if (tightenExisting(path))
        return;
    makePrivateFolders(path);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateFile);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

std::string scramblePassword(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) ^ kPasswordKey);
    return out;
}

QString RememberedLogin::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Tessaly.conf");
}

RememberedLogin::RememberedLogin(SecretStore& secrets, QString filePath)
    : secrets_(secrets), filePath_(std::move(filePath))
{
}

LoginPair RememberedLogin::read() const
{
    const QSettings settings(filePath_, QSettings::IniFormat);
    LoginPair pair;
    pair.screenName = storedBytes(settings, kUserNameKey, Encoding::Utf8);
    if (settings.contains(kPasswordValueKey)) {
        // Written by another program or an earlier version with a wider
        // mode: the password is the user's alone from now on.
        tightenExisting(QFile::encodeName(filePath_));
        pair.password = scramblePassword(storedBytes(settings, kPasswordValueKey, Encoding::Latin1));
    } else if (!pair.screenName.empty()) {
        pair.password = capped(secrets_.find(pair.screenName).value_or(std::string()));
    }
    return pair;
}

void RememberedLogin::write(const LoginPair& pair) const
{
    makePrivate(filePath_);
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(kUserNameKey, toQString(pair.screenName));
    if (secrets_.keep(pair.screenName, pair.password)) {
        settings.remove(kPasswordValueKey);
    } else {
        const std::string scrambled = scramblePassword(pair.password);
        settings.setValue(kPasswordValueKey,
                          QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size())));
    }
    settings.sync();
}

void RememberedLogin::forget() const
{
    secrets_.forgetAll();
    makePrivate(filePath_);
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(kUserNameKey, QString());
    settings.setValue(kPasswordValueKey, QString());
    settings.sync();
}

} // namespace tessaly
