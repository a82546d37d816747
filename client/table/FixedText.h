#pragma once
// A text field of a fixed-size record: it keeps at most Bytes - 1 bytes, as
// a C buffer of Bytes bytes with its NUL would. Longer texts are cut, never
// inside a UTF-8 sequence.

#include <cstddef>
#include <string>
#include <string_view>

namespace tessaly {

// The longest prefix of text of at most maxBytes bytes that does not end
// inside a UTF-8 sequence.
inline std::size_t utf8CutLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t cut = maxBytes;
    // Back up over continuation bytes (10xxxxxx) to the start of a sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return cut;
}

template <std::size_t Bytes>
class FixedText {
public:
    static constexpr std::size_t kCapacity = Bytes - 1;

    FixedText() = default;
    FixedText(std::string_view text) { assign(text); }   // NOLINT: reads like the C buffer it models
    FixedText& operator=(std::string_view text)
    {
        assign(text);
        return *this;
    }

    const std::string& str() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    bool empty() const { return text_.empty(); }
    std::size_t size() const { return text_.size(); }
    void clear() { text_.clear(); }
    operator std::string_view() const { return text_; }

    bool operator==(const FixedText&) const = default;

private:
    void assign(std::string_view text) { text_.assign(text.substr(0, utf8CutLength(text, kCapacity))); }

    std::string text_;
};

} // namespace tessaly
