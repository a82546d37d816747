#pragma once
// The one sound operation, as the dispatcher and the table window see it.
// SoundPlayer (client/ui) serves it over the audio device and the sound
// switch; tests record it.

#include <string_view>

namespace tessaly {

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // name as the system writes it, e.g. "sounds\\yourturn.wav".
    virtual void PlaySoundFile(std::string_view name) = 0;
};

} // namespace tessaly
