#include "client/ui/CardImages.h"

#include "platform/MessageBoxes.h"

namespace tessaly {

void CardImages::load(MessageBoxes& boxes)
{
    if (loadStarted_)
        return;
    loadStarted_ = true;
    for (int code = 0; code <= kCardBack; ++code) {
        const std::string path = cardFileName(code);
        if (cards_[static_cast<size_t>(code)].load(path) < 0) {
            boxes.show({.text = "Failed to load card image", .caption = path, .icon = BoxIcon::Stop});
            return;
        }
    }
}

const Picture& CardImages::card(int code) const
{
    if (code < 0 || code > kCardBack)
        return none_;
    return cards_[static_cast<size_t>(code)];
}

CardImages& cardImages()
{
    static CardImages cards;
    return cards;
}

void LoadCardImages(MessageBoxes& boxes)
{
    cardImages().load(boxes);
}

} // namespace tessaly
