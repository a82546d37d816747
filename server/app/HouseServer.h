#pragma once
// tessaly-house as a whole: the data folder, the database, the room, the
// game port and the web port, from start to a clean stop.

#include "server/app/Options.h"

namespace tessaly::house {

// Runs until SIGINT, SIGTERM or the hand limit; returns the exit code.
int runHouse(const Options& options);

} // namespace tessaly::house
