#pragma once
// Where the connection hands every complete server line, in arrival order.

namespace tessaly {

class LineReceiver {
public:
    virtual ~LineReceiver() = default;
    // line: NUL-terminated, without its carriage return; the receiver may
    // modify it in place.
    virtual void dispatchLine(char* line) = 0;
};

} // namespace tessaly
