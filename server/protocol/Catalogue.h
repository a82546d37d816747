#pragma once
// Checks a line the house sends against the message catalogue: a known
// keyword, its fields in order with their types and ranges, no empty field,
// one carriage return at the end and nothing else that would cut the line.

#include <string>
#include <string_view>

namespace tessaly::house {

// Empty when the line is well formed; otherwise what is wrong with it.
std::string catalogueError(std::string_view line);

} // namespace tessaly::house
