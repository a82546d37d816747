#include "client/lobby/RememberedLogin.h"

#include <QSettings>
#include <QStandardPaths>
#include <QVariant>

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

RememberedLogin::RememberedLogin(QString filePath) : filePath_(std::move(filePath)) {}

LoginPair RememberedLogin::read() const
{
    const QSettings settings(filePath_, QSettings::IniFormat);
    LoginPair pair;
    pair.screenName = storedBytes(settings, kUserNameKey, Encoding::Utf8);
    pair.password = scramblePassword(storedBytes(settings, kPasswordValueKey, Encoding::Latin1));
    return pair;
}

void RememberedLogin::write(const LoginPair& pair) const
{
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(kUserNameKey, toQString(pair.screenName));
    const std::string scrambled = scramblePassword(pair.password);
    settings.setValue(kPasswordValueKey,
                      QString::fromLatin1(scrambled.data(), static_cast<qsizetype>(scrambled.size())));
    settings.sync();
}

void RememberedLogin::forget() const
{
    write(LoginPair{});
}

} // namespace tessaly
