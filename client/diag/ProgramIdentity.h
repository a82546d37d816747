#pragma once
// What a program of the suite knows of itself: the version block that the
// crash report prints for the program's own module.

namespace tessaly {

struct ProgramIdentity {
    const char* company = "";
    const char* product = "";
    const char* fileDescription = "";
    unsigned version[4] = {0, 0, 0, 0};   // file and product version
};

// The client `Tessaly`, version 6.70.
inline constexpr ProgramIdentity kClientIdentity{
    "Tessaly Gaming Network", "Tessaly Online Poker Room", "Tessaly poker client", {6, 70, 0, 0}};

} // namespace tessaly
