#pragma once
// AudioDevice over SDL2_mixer. The audio device opens on first use; where
// there is none, the player stays silent and says so in one trace line.

#include <string>

#include "platform/audio/AudioDevice.h"

struct Mix_Chunk;
struct _Mix_Music;

namespace tessaly {

class MixerAudio final : public AudioDevice {
public:
    MixerAudio() = default;
    ~MixerAudio() override;
    MixerAudio(const MixerAudio&) = delete;
    MixerAudio& operator=(const MixerAudio&) = delete;

    void playWave(const std::string& path) override;
    void stopWave() override;
    bool openMusic(const std::string& path) override;
    void playMusicFromStart() override;
    void stopMusic() override;

    // The device opened (false until first use, and where there is none).
    bool available() const { return state_ == State::Open; }
    bool wavePlaying() const;
    bool musicPlaying() const;

private:
    enum class State { Closed, Open, Unavailable };
    bool ensureOpen();
    void freeWave();

    State state_ = State::Closed;
    Mix_Chunk* wave_ = nullptr;
    _Mix_Music* music_ = nullptr;
};

} // namespace tessaly
