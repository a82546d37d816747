// tessaly-house: a local game server and web server with bots, standing in
// for the room's servers in tests and in `make run`.

#include "server/app/HouseServer.h"
#include "server/app/Options.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv)
{
    using namespace tessaly::house;
    std::string error;
    const auto options = parseOptions(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << "tessaly-house: " << error << "\n" << usageText();
        return 2;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    try {
        return runHouse(*options);
    } catch (const std::exception& e) {
        std::cerr << "tessaly-house: " << e.what() << "\n";
        return 1;
    }
}
