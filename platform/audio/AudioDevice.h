#pragma once
// The platform's two players: one wave channel, and a music player for MIDI
// files (the sequencer). Both play asynchronously; every call returns at once.

#include <string>

namespace tessaly {

class AudioDevice {
public:
    virtual ~AudioDevice() = default;
    // Plays a wave file on the one wave channel, cutting off what plays there.
    virtual void playWave(const std::string& path) = 0;
    virtual void stopWave() = 0;
    // Closes the open music file, if any, and opens path; false on failure.
    virtual bool openMusic(const std::string& path) = 0;
    // Plays the open music file from its beginning; nothing when none is open.
    virtual void playMusicFromStart() = 0;
    virtual void stopMusic() = 0;
};

} // namespace tessaly
