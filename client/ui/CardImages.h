#pragma once
// The card set: 52 faces and the back, one picture each, loaded once per
// process from "cards/".

#include <array>

#include "client/ui/CardNames.h"
#include "client/ui/Picture.h"

namespace tessaly {

class MessageBoxes;

class CardImages {
public:
    // Loads the faces in code order, then the back. The first file that does
    // not load is named in a message box ("Failed to load card image", the
    // path as caption) and ends the loading: it and every later card stay
    // empty. Runs once: the flag is set before anything loads, so no later
    // call tries again, whatever happened.
    void load(MessageBoxes& boxes);
    bool loadStarted() const { return loadStarted_; }

    // Card code 0 to 51 or kCardBack; any other code gives an empty picture.
    const Picture& card(int code) const;

private:
    bool loadStarted_ = false;
    std::array<Picture, kCardFaces + 1> cards_;
    Picture none_;
};

// The process-wide card set.
CardImages& cardImages();

// Loads the process-wide card set (once per process).
void LoadCardImages(MessageBoxes& boxes);

} // namespace tessaly
