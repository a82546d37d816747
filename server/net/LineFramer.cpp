#include "server/net/LineFramer.h"

namespace tessaly::house {

void LineFramer::feed(std::string_view bytes, std::vector<std::string>& out)
{
    while (!bytes.empty()) {
        const std::size_t nul = bytes.find('\0');
        const std::string_view piece = bytes.substr(0, nul);
        if (!skipping_) {
            if (partial_.size() + piece.size() > maxLine_) {
                skipping_ = true;
                partial_.clear();
                ++dropped_;
            } else {
                partial_.append(piece);
            }
        }
        if (nul == std::string_view::npos)
            return;
        if (!skipping_)
            out.push_back(std::move(partial_));
        partial_.clear();
        skipping_ = false;
        bytes.remove_prefix(nul + 1);
    }
}

} // namespace tessaly::house
