#pragma once
// Plays event sounds by file name: wave files on the one wave channel, MIDI
// files through the music player; a new sound always cuts off the one that
// plays. The sound switch ("Disable Sounds") silences it for the run.
//
// File names are the system's: "sounds\\yourturn.wav" names sounds/yourturn.wav
// under the current directory, which is the program's directory.

#include <string>
#include <string_view>

#include "platform/SoundPort.h"

namespace tessaly {

class AudioDevice;

// The system's file name as a path here: every "\\" becomes "/".
std::string systemPath(std::string_view name);

class SoundPlayer final : public SoundPort {
public:
    explicit SoundPlayer(AudioDevice& device) : device_(device) {}

    // Nothing when sounds are off, when the file does not exist or is a
    // directory, or when its extension (from the last ".", any letter case)
    // is none of ".wav", ".mid", ".midi", ".rmi".
    void PlaySoundFile(std::string_view name) override;
    void StopSound();

    bool soundsEnabled() const { return enabled_; }
    // "Disable Sounds": flips the switch. It starts on at every run.
    void toggleSounds() { enabled_ = !enabled_; }

private:
    AudioDevice& device_;
    bool enabled_ = true;
    std::string lastMidiFile_;   // a MIDI file played again is not reopened
};

} // namespace tessaly
