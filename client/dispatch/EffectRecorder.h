#pragma once
// Records, in order, everything the dispatcher does outside the state: the
// bytes it sends, the sounds it plays, the boxes it shows (answered with OK)
// and the process exit. The replay tool prints these; tests compare them.

#include <string>
#include <string_view>
#include <vector>

#include "client/net/LineSender.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPort.h"
#include "platform/sys/Process.h"

namespace tessaly {

struct Effect {
    enum class Kind { Send, Sound, Box, Exit };
    Kind kind = Kind::Send;
    std::string text;      // Send: the exact bytes with the NUL; Sound: the file name; Box: the text
    std::string caption;   // Box
    BoxIcon icon = BoxIcon::None;
    bool systemModal = false;
    int code = 0;          // Exit

    static Effect send(std::string_view bytes) { return {Kind::Send, std::string(bytes), {}, BoxIcon::None, false, 0}; }
    static Effect sound(std::string_view name) { return {Kind::Sound, std::string(name), {}, BoxIcon::None, false, 0}; }
    static Effect box(std::string_view caption, std::string_view text, BoxIcon icon, bool systemModal = true)
    {
        return {Kind::Box, std::string(text), std::string(caption), icon, systemModal, 0};
    }
    static Effect exit(int code) { return {Kind::Exit, {}, {}, BoxIcon::None, false, code}; }

    bool operator==(const Effect&) const = default;
};

class EffectRecorder final : public LineSender, public SoundPort, public MessageBoxes, public ProcessExit {
public:
    void sendLine(std::string_view text) override;
    void PlaySoundFile(std::string_view name) override;
    BoxAnswer show(const BoxRequest& box) override;
    void exitProcess(int code) override;

    const std::vector<Effect>& effects() const { return effects_; }
    bool exited() const { return exited_; }
    void clear() { effects_.clear(); }

private:
    std::vector<Effect> effects_;
    bool exited_ = false;
};

} // namespace tessaly
