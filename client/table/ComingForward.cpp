#include "client/table/ComingForward.h"

namespace tessaly {

Forward comingForward(const ForwardInputs& in)
{
    // A click under way goes where the user aimed it, whoever handed over.
    if (in.buttonHeld)
        return Forward::AskAttention;
    if (in.handedOver)
        return Forward::Raise;
    if (in.activeTableWaits)
        return Forward::AskAttention;
    if (in.lastInputElsewhere && in.now - *in.lastInputElsewhere < kInputQuietTime)
        return Forward::AskAttention;
    return Forward::Raise;
}

} // namespace tessaly
