#include "client/diag/bugrelay/SenderSettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QUuid>

namespace tessaly {
namespace {

const QString kAutomatic = QStringLiteral("sendAutomatically");
const QString kInstallationId = QStringLiteral("installationId");
const QString kLastUpload = QStringLiteral("lastUpload");

} // namespace

QString SenderSettings::defaultFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Bugrelay.conf");
}

SenderSettings::SenderSettings(QString file) : file_(std::move(file)) {}

bool SenderSettings::sendAutomatically() const
{
    return QSettings(file_, QSettings::IniFormat).value(kAutomatic, false).toBool();
}

void SenderSettings::setSendAutomatically(bool on)
{
    QSettings(file_, QSettings::IniFormat).setValue(kAutomatic, on);
}

std::string SenderSettings::installationId()
{
    QSettings settings(file_, QSettings::IniFormat);
    const QUuid stored = QUuid::fromString(settings.value(kInstallationId).toString());
    if (!stored.isNull())
        return stored.toString(QUuid::WithoutBraces).toStdString();
    const QString made = QUuid::createUuid().toString(QUuid::WithoutBraces);
    settings.setValue(kInstallationId, made);
    return made.toStdString();
}

std::optional<std::int64_t> SenderSettings::lastUpload() const
{
    bool ok = false;
    const qint64 when = QSettings(file_, QSettings::IniFormat).value(kLastUpload).toLongLong(&ok);
    return ok ? std::optional<std::int64_t>(when) : std::nullopt;
}

void SenderSettings::setLastUpload(std::int64_t when)
{
    QSettings(file_, QSettings::IniFormat).setValue(kLastUpload, static_cast<qint64>(when));
}

} // namespace tessaly
