#pragma once
// A SoundPort for tests: keeps the name of every sound it is asked to play.

#include <string>
#include <string_view>
#include <vector>

#include "platform/SoundPort.h"

namespace tessaly {

class RecordingSound final : public SoundPort {
public:
    void PlaySoundFile(std::string_view name) override { played.emplace_back(name); }
    std::vector<std::string> played;
};

} // namespace tessaly
