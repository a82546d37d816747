#include "client/ui/SoundPlayer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/audio/AudioDevice.h"

namespace tessaly {
namespace {

std::string lowerAscii(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

} // namespace

std::string systemPath(std::string_view name)
{
    std::string path(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void SoundPlayer::PlaySoundFile(std::string_view name)
{
    if (!enabled_)
        return;
    const std::string path = systemPath(name);
    std::error_code error;
    if (!std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error))
        return;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos)
        return;
    const std::string extension = lowerAscii(std::string_view(path).substr(dot));
    if (extension == ".wav") {
        StopSound();
        device_.playWave(path);
    } else if (extension == ".mid" || extension == ".midi" || extension == ".rmi") {
        StopSound();
        if (path != lastMidiFile_) {
            lastMidiFile_ = path;
            if (!device_.openMusic(path))
                return;
        }
        device_.playMusicFromStart();
    }
}

void SoundPlayer::StopSound()
{
    device_.stopWave();
    device_.stopMusic();
}

} // namespace tessaly
