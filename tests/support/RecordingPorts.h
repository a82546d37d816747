#pragma once
// Recorders for the ports that end the process, start programs and show
// message boxes: they keep what was asked and answer as scripted.

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"
#include "platform/sys/Process.h"

namespace tessaly::testing {

class RecordingBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest& box) override
    {
        shown.push_back(box);
        if (answers.empty())
            return BoxAnswer::Ok;
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const BoxRequest& b : shown)
            out.push_back(b.text);
        return out;
    }
    std::vector<BoxRequest> shown;
    std::deque<BoxAnswer> answers;   // Ok once they run out
};

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
