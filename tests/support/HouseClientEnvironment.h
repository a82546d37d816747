#pragma once
// The environment for the real client on an X display, pointed at a house
// server by the match of its ready line
// ("^listening game ([0-9.]+):(\d+) web ([0-9.]+:\d+)$"), with its
// configuration in `config` and a private runtime folder under `root`.

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpressionMatch>
#include <QString>

#include <utility>

inline QProcessEnvironment houseClientEnvironment(const QRegularExpressionMatch& ready, const QString& display,
                                                  const QString& config, const QString& root)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString runtime = root + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const std::pair<const char*, QString> settings[] = {
        {"DISPLAY", display},
        {"QT_QPA_PLATFORM", QStringLiteral("xcb")},
        {"XDG_CONFIG_HOME", config},
        {"XDG_RUNTIME_DIR", runtime},
        {"TESSALY_GAME_HOST", ready.captured(1)},
        {"TESSALY_GAME_PORT", ready.captured(2)},
        {"TESSALY_WEB_URL", QStringLiteral("http://") + ready.captured(3)},
        {"TESSALY_SECURE_WEB_URL", QStringLiteral("http://") + ready.captured(3)},
        {"TESSALY_PROBE_HOST", QStringLiteral("127.0.0.1")},
        {"SDL_AUDIODRIVER", QStringLiteral("dummy")},
    };
    for (const auto& [variable, value] : settings)
        environment.insert(QString::fromLatin1(variable), value);
    return environment;
}
