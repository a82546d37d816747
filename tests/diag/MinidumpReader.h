#pragma once
// Reads back what the tests need of a minidump file: the stream directory,
// the thread list, the exception, the modules with their build IDs.

#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "client/diag/MinidumpFormat.h"

namespace tessaly {

struct DumpModule {
    std::string path;
    std::uint64_t base = 0;
    std::vector<std::uint8_t> buildId;
};

struct ReadDump {
    minidump::Header header{};
    std::map<std::uint32_t, minidump::Directory> streams;
    std::vector<minidump::Thread> threads;
    std::optional<minidump::ExceptionInfo> exception;
    std::vector<DumpModule> modules;
    std::string maps;
};

// nullopt when the bytes are not a well-formed minidump: a bad signature, or
// a stream or record that reaches past the end.
inline std::optional<ReadDump> readDump(const std::string& bytes)
{
    using namespace minidump;
    ReadDump dump;
    const auto fits = [&](std::uint64_t rva, std::uint64_t size) { return rva + size <= bytes.size(); };
    const auto copy = [&](auto& out, std::uint64_t rva) {
        if (!fits(rva, sizeof out))
            return false;
        std::memcpy(&out, bytes.data() + rva, sizeof out);
        return true;
    };
    if (!copy(dump.header, 0) || dump.header.signature != kSignature || (dump.header.version & 0xFFFF) != kVersion)
        return std::nullopt;
    for (std::uint32_t i = 0; i < dump.header.streamCount; ++i) {
        Directory entry{};
        if (!copy(entry, dump.header.directoryRva + i * sizeof entry) || !fits(entry.rva, entry.size))
            return std::nullopt;
        dump.streams[entry.type] = entry;
    }
    if (const auto s = dump.streams.find(ThreadListStream); s != dump.streams.end()) {
        std::uint32_t count = 0;
        copy(count, s->second.rva);
        for (std::uint32_t i = 0; i < count; ++i) {
            Thread thread{};
            if (!copy(thread, s->second.rva + 4 + i * sizeof thread))
                return std::nullopt;
            dump.threads.push_back(thread);
        }
    }
    if (const auto s = dump.streams.find(ExceptionStream); s != dump.streams.end()) {
        ExceptionInfo exception{};
        if (!copy(exception, s->second.rva))
            return std::nullopt;
        dump.exception = exception;
    }
    if (const auto s = dump.streams.find(ModuleListStream); s != dump.streams.end()) {
        std::uint32_t count = 0;
        copy(count, s->second.rva);
        for (std::uint32_t i = 0; i < count; ++i) {
            Module record{};
            std::uint32_t nameBytes = 0;
            if (!copy(record, s->second.rva + 4 + i * sizeof record) || !copy(nameBytes, record.nameRva)
                || !fits(record.nameRva + 4, nameBytes) || !fits(record.cvRecord.rva, record.cvRecord.size))
                return std::nullopt;
            DumpModule module;
            module.base = record.base;
            for (std::uint32_t c = 0; c < nameBytes / 2; ++c)
                module.path += static_cast<char>(bytes[record.nameRva + 4 + 2 * c]);
            if (record.cvRecord.size > 4)
                module.buildId.assign(bytes.begin() + record.cvRecord.rva + 4,
                                      bytes.begin() + record.cvRecord.rva + record.cvRecord.size);
            dump.modules.push_back(module);
        }
    }
    if (const auto s = dump.streams.find(LinuxMapsStream); s != dump.streams.end())
        dump.maps = bytes.substr(s->second.rva, s->second.size);
    return dump;
}

} // namespace tessaly
