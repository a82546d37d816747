#pragma once
// The crash sender's settings, in "Bugrelay.conf" of the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config): whether reports
// go out without asking, the installation's random id, and the time of the
// last upload (for the hourly limit). Every call reads or writes the file
// afresh, so a sender's worker thread and its window may both use it.

#include <cstdint>
#include <optional>
#include <string>

#include <QString>

namespace tessaly {

class SenderSettings {
public:
    // The file in the user's configuration folder.
    static QString defaultFile();

    explicit SenderSettings(QString file = defaultFile());

    bool sendAutomatically() const;
    void setSendAutomatically(bool on);

    // Made (a random UUID) and kept on first use.
    std::string installationId();

    std::optional<std::int64_t> lastUpload() const;
    void setLastUpload(std::int64_t when);

private:
    QString file_;
};

} // namespace tessaly
