#pragma once
// Whether the desktop runs a screen reader: the accessibility bus's
// "ScreenReaderEnabled" property, asked once over the session bus.

namespace tessaly {

// False without a session bus, without the accessibility bus, or when it
// does not answer within half a second.
bool screenReaderEnabled();

} // namespace tessaly
