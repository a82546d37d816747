#pragma once
// A MessageBoxes for tests: records every box it is asked to show and answers
// from a script (the first button, OK or Yes, once the script runs out).
// Header-only and free of Qt Widgets, so any test can use it.
//
//     tessaly::ScriptedMessageBoxes boxes;
//     boxes.answers.push_back(tessaly::BoxAnswer::Cancel);
//     window.runSomething(boxes);
//     ASSERT_EQ(boxes.shown.size(), 1u);
//     EXPECT_EQ(boxes.shown[0].text, "You sure you want to leave Tessaly");

#include <deque>
#include <string>
#include <vector>

#include "platform/MessageBoxes.h"

namespace tessaly {

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest& box) override
    {
        shown.push_back(box);
        if (answers.empty())
            return box.buttons == BoxButtons::YesNo ? BoxAnswer::Yes : BoxAnswer::Ok;
        const BoxAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // The texts shown, in order.
    std::vector<std::string> texts() const
    {
        std::vector<std::string> result;
        for (const BoxRequest& box : shown)
            result.push_back(box.text);
        return result;
    }

    std::vector<BoxRequest> shown;
    std::deque<BoxAnswer> answers;
};

} // namespace tessaly
