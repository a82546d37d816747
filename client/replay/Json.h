#pragma once
// The replay tool's JSON output: values of the state's field types, texts
// escaped so that any bytes from the server make a valid document.

#include <array>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "client/table/ClientState.h"

namespace tessaly::json {

// A JSON string literal. Valid UTF-8 passes through; control characters and
// bytes that are not UTF-8 are written as \u00XX (the byte's Latin-1 value).
void writeString(std::string& out, std::string_view text);

inline void write(std::string& out, std::integral auto value) { out += std::to_string(value); }

inline void write(std::string& out, float value)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

inline void write(std::string& out, const std::string& text) { writeString(out, text); }

template <std::size_t N>
void write(std::string& out, const FixedText<N>& text)
{
    writeString(out, text.str());
}

void write(std::string& out, const PlayerListEntry& entry);
void write(std::string& out, const ChatLine& line);
// The waiting events as the hand log would show them.
void write(std::string& out, const HandEventQueue& queue);
// The finished hands: their numbers.
void write(std::string& out, const HandHistoryRecorder& recorder);

template <class T, std::size_t N>
void write(std::string& out, const std::array<T, N>& values);
template <class T>
void write(std::string& out, const std::vector<T>& values);
template <class T>
void write(std::string& out, const std::deque<T>& values);

template <class Range>
void writeArray(std::string& out, const Range& values)
{
    out += '[';
    bool first = true;
    for (const auto& v : values) {
        if (!first)
            out += ", ";
        first = false;
        write(out, v);
    }
    out += ']';
}

template <class T, std::size_t N>
void write(std::string& out, const std::array<T, N>& values)
{
    writeArray(out, values);
}

template <class T>
void write(std::string& out, const std::vector<T>& values)
{
    writeArray(out, values);
}

template <class T>
void write(std::string& out, const std::deque<T>& values)
{
    writeArray(out, values);
}

} // namespace tessaly::json
