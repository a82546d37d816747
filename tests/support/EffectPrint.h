#pragma once
// Readable test failures for recorded dispatcher effects.

#include <gtest/gtest.h>

#include <ostream>

#include "client/dispatch/EffectRecorder.h"

namespace tessaly {

inline void PrintTo(const Effect& e, std::ostream* os)
{
    static const char* const kinds[] = {"send", "sound", "box", "exit"};
    *os << kinds[static_cast<int>(e.kind)] << "{" << ::testing::PrintToString(e.text);
    if (e.kind == Effect::Kind::Box)
        *os << " caption " << ::testing::PrintToString(e.caption) << " icon " << static_cast<int>(e.icon);
    if (e.kind == Effect::Kind::Exit)
        *os << e.code;
    *os << "}";
}

// The bytes sendLine puts on the wire for text.
inline std::string sent(const std::string& text) { return text + std::string(1, '\0'); }

} // namespace tessaly
