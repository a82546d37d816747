// tessaly-replay: runs a captured server stream through the client's line
// assembly and dispatcher, without a display, and prints what the client
// would do as one JSON document.
//
//   tessaly-replay [--set T.field=value | --set field=value]... [FILE]
//
// FILE (or standard input) holds the bytes exactly as the server sends them.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "client/net/LineAssembler.h"
#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/replay/Json.h"
#include "client/replay/StateFields.h"
#include "client/table/ClientState.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

constexpr const char* kUsage =
    "usage: tessaly-replay [--set T.field=value | --set field=value]... [FILE]\n"
    "Replays server bytes (CR-ended lines) from FILE or standard input through\n"
    "the client's dispatcher and prints the resulting state and effects as JSON.\n"
    "  --set 3.autoCheckFold=1   presets a field of table 3 before replay\n"
    "  --set screenName=alice    presets a session value\n";

template <class T>
constexpr bool isSettable = std::is_arithmetic_v<T> || std::is_same_v<T, std::string> ||
                            std::is_convertible_v<std::string_view, T>;

// Stores text into a single-valued field; false when it does not parse.
template <class T>
bool assign(T& field, const std::string& text)
{
    char* end = nullptr;
    if constexpr (std::is_integral_v<T>) {
        const long value = strtolC(text.c_str(), &end);
        field = static_cast<T>(value);
        return end != text.c_str() && *end == '\0';
    } else if constexpr (std::is_floating_point_v<T>) {
        field = static_cast<T>(strtodC(text.c_str(), &end));
        return end != text.c_str() && *end == '\0';
    } else {
        field = std::string_view(text);
        return true;
    }
}

// "T.field=value" or "field=value"; an empty string when it worked, else why not.
std::string applySet(ClientState& state, const std::string& assignment)
{
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos)
        return "expected field=value";
    std::string name = assignment.substr(0, eq);
    const std::string value = assignment.substr(eq + 1);
    const std::size_t dot = name.find('.');
    std::string error = "unknown field";
    const auto visit = [&](const char* fieldName, auto& field) {
        if (name != fieldName)
            return;
        using T = std::remove_reference_t<decltype(field)>;
        if constexpr (isSettable<T>)
            error = assign(field, value) ? "" : "bad value";
        else
            error = "not a single value";
    };
    if (dot == std::string::npos) {
        forEachSessionField(state.session, visit);
        return error;
    }
    char* end = nullptr;
    const std::string id = name.substr(0, dot);
    const long t = strtolC(id.c_str(), &end);
    if (id.empty() || *end != '\0' || !isTableId(static_cast<int>(t)) || t != static_cast<int>(t))
        return "no such table";
    name = name.substr(dot + 1);
    forEachTableField(state.tables[static_cast<std::size_t>(t)], visit);
    return error;
}

void writeFields(std::string& out, const char* indent, auto&& forEach)
{
    bool first = true;
    forEach([&](const char* name, const auto& field) {
        out += first ? "\n" : ",\n";
        first = false;
        out += indent;
        json::writeString(out, name);
        out += ": ";
        json::write(out, field);
    });
}

std::string iconName(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Stop: return "stop";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Information: return "information";
    case BoxIcon::None: break;
    }
    return "none";
}

void writeEffect(std::string& out, const Effect& e)
{
    switch (e.kind) {
    case Effect::Kind::Send:
        out += "{\"send\": ";
        json::writeString(out, e.text);
        break;
    case Effect::Kind::Sound:
        out += "{\"sound\": ";
        json::writeString(out, e.text);
        break;
    case Effect::Kind::Box:
        out += "{\"box\": {\"caption\": ";
        json::writeString(out, e.caption);
        out += ", \"text\": ";
        json::writeString(out, e.text);
        out += ", \"icon\": ";
        json::writeString(out, iconName(e.icon));
        out += '}';
        break;
    case Effect::Kind::Exit:
        out += "{\"exit\": " + std::to_string(e.code);
        break;
    }
    out += '}';
}

std::string document(const ClientState& state, const std::vector<Effect>& effects)
{
    std::string out = "{\n  \"session\": {";
    writeFields(out, "    ", [&](auto&& v) { forEachSessionField(state.session, v); });
    out += "\n  },\n  \"tables\": {";
    const TableState initial;
    bool first = true;
    for (int t = 0; t < kTableCount; ++t) {
        const TableState& table = state.tables[static_cast<std::size_t>(t)];
        if (table == initial)
            continue;
        out += first ? "\n    \"" : ",\n    \"";
        first = false;
        out += std::to_string(t) + "\": {";
        writeFields(out, "      ", [&](auto&& v) { forEachTableField(table, v); });
        out += "\n    }";
    }
    out += first ? "},\n" : "\n  },\n";
    out += "  \"effects\": [";
    for (std::size_t i = 0; i < effects.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        writeEffect(out, effects[i]);
    }
    out += effects.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

int run(int argc, char** argv)
{
    ClientState state;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--set" || arg.rfind("--set=", 0) == 0) {
            std::string assignment;
            if (arg == "--set") {
                if (++i == argc) {
                    std::fputs("tessaly-replay: --set needs field=value\n", stderr);
                    return 2;
                }
                assignment = argv[i];
            } else {
                assignment = arg.substr(6);
            }
            const std::string error = applySet(state, assignment);
            if (!error.empty()) {
                std::fprintf(stderr, "tessaly-replay: --set %s: %s\n", assignment.c_str(), error.c_str());
                return 2;
            }
        } else if (file == nullptr && (arg.empty() || arg[0] != '-' || arg == "-")) {
            file = argv[i];
        } else {
            std::fprintf(stderr, "tessaly-replay: unexpected argument %s\n%s", argv[i], kUsage);
            return 2;
        }
    }

    std::string bytes;
    if (file == nullptr || std::strcmp(file, "-") == 0) {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "tessaly-replay: cannot read %s\n", file);
            return 1;
        }
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    EffectRecorder effects;
    Dispatcher dispatcher(state, {effects, effects, effects, effects});
    LineAssembler assembler;
    // Chunks as the connection takes them from the socket.
    for (std::size_t at = 0; at < bytes.size() && !effects.exited(); at += kReceiveChunkSize) {
        const std::size_t size = std::min(kReceiveChunkSize, bytes.size() - at);
        assembler.feed(bytes.data() + at, size, [&](char* line, std::size_t) {
            if (!effects.exited())
                dispatcher.dispatchLine(line);
        });
    }
    const std::string out = document(state, effects.effects());
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

} // namespace
} // namespace tessaly

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    return tessaly::run(argc, argv);
}
