#pragma once
// Recorders for the ports that end the process and start programs: they
// keep what was asked and answer as scripted. Message boxes have their own
// recorder, ScriptedMessageBoxes.

#include <string>
#include <vector>

#include "platform/sys/Process.h"

namespace tessaly::testing {

class RecordingLauncher final : public ProcessLauncher {
public:
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };
    bool start(const std::string& program, const std::vector<std::string>& arguments) override
    {
        started.push_back({program, arguments});
        return succeeds;
    }
    std::vector<Start> started;
    bool succeeds = true;
};

class RecordingExit final : public ProcessExit {
public:
    void exitProcess(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

} // namespace tessaly::testing
