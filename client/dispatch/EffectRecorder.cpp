#include "client/dispatch/EffectRecorder.h"

namespace tessaly {

void EffectRecorder::sendLine(std::string_view text)
{
    if (auto bytes = wireBytes(text))
        effects_.push_back(Effect::send(*bytes));
}

void EffectRecorder::PlaySoundFile(std::string_view name) { effects_.push_back(Effect::sound(name)); }

BoxAnswer EffectRecorder::show(const BoxRequest& box)
{
    effects_.push_back(Effect::box(box.caption, box.text, box.icon, box.systemModal));
    return BoxAnswer::Ok;
}

void EffectRecorder::exitProcess(int code)
{
    effects_.push_back(Effect::exit(code));
    exited_ = true;
}

} // namespace tessaly
