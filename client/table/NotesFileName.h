#pragma once
// Where a player's notes live: "notes/<name>.txt" relative to the current
// directory. A player's name is the server's text, so a name that is not a
// plain file name is written with escapes: it can neither leave "notes/" nor
// share a file with another name.

#include <string>
#include <string_view>

namespace tessaly {

inline constexpr const char* kNotesDirectory = "notes";

// "notes/" + name + ".txt" for ordinary names. Bytes that a file name must
// not hold ("/", "\", NUL, control characters, "<>:\"|?*", bytes that are not
// UTF-8) and the escape character "%" become "%XX"; a leading dot and a dot
// after a dot become "%2E", so no part is "." or ".." or hidden; the empty
// name is "%". A name whose file name would exceed 255 bytes is cut into
// folders of at most 200 bytes, each ending in "%", which no file name does
// (a dot that would start a part is escaped too).
std::string notesPath(std::string_view name);

} // namespace tessaly
