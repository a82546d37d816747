#pragma once
// Text as one line of a log or a data file: tab, carriage return and line
// feed written "\t", "\r" and "\n", other control characters "\xHH", and,
// when asked, the backslash "\\" (so that the line reads back as it was).

#include <string>
#include <string_view>

namespace tessaly::house {

std::string escapedText(std::string_view text, bool backslashToo);

} // namespace tessaly::house
