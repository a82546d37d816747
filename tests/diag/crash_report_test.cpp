// The crash report's own formatter and writer: the system formatter's
// patterns, the 8,192-byte buffer's flush rule, the time text, the stack
// lines, and the rules that turn signals into codes and read /proc texts.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "client/diag/CrashCodes.h"
#include "client/diag/CrashFormat.h"
#include "client/diag/CrashReport.h"
#include "client/diag/MemoryMap.h"
#include "client/diag/ProcFiles.h"

namespace tessaly {
namespace {

std::string format(const char* pattern, std::initializer_list<FormatArg> args)
{
    char out[256];
    const std::size_t n = formatText(out, sizeof out, pattern, args);
    EXPECT_EQ(n, std::string(out).size());
    return out;
}

TEST(CrashFormat, FollowsTheSystemFormattersPatterns)
{
    struct Case {
        const char* pattern;
        std::initializer_list<FormatArg> args;
        const char* expected;
    };
    const Case cases[] = {
        {"%08x", {0xC0000005u}, "c0000005"},
        {"%08x", {0x1Fu}, "0000001f"},
        {"%016x", {0x7ffc1234abcdULL}, "00007ffc1234abcd"},
        {"%02x ", {7u}, "07 "},
        {"%02x ", {0xABu}, "ab "},
        {"%-10d|", {12345}, "12345     |"},
        {"%-10d|", {12345678901LL}, "12345678901|"},
        {"%d%%", {-42}, "-42%"},
        {"%5d|%-5s|%5s", {-7, "ab", "cd"}, "   -7|ab   |   cd"},
        {"%04x:%X", {0x33u, 0xBEEFu}, "0033:BEEF"},
        {"%u", {~0ULL}, "18446744073709551615"},
        {"%s and %s", {static_cast<const char*>(nullptr)}, "(null) and (null)"},
        {"%ld %hu", {5L, 6u}, "5 6"},
        {"%c%c", {'o', 'k'}, "ok"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(format(c.pattern, c.args), c.expected) << c.pattern;
}

TEST(CrashFormat, CutsAtTheCapacityAndAlwaysEndsWithNul)
{
    char out[6];
    EXPECT_EQ(formatText(out, sizeof out, "%s-%08x", {"abc", 1u}), 5u);
    EXPECT_STREQ(out, "abc-0");
    EXPECT_EQ(formatText(out, 1, "abc"), 0u);
    EXPECT_STREQ(out, "");
}

// The bytes written to the file so far.
off_t fileSize(int fd)
{
    struct stat s {};
    fstat(fd, &s);
    return s.st_size;
}

TEST(ReportBuffer, WritesOutWhenMoreThan7168BytesWaitBeforeAPiece)
{
    const int fd = memfd_create("report", 0);
    ASSERT_GE(fd, 0);
    static ReportBuffer buffer;
    buffer.open(fd);
    const std::string piece(1000, 'x');
    for (int i = 0; i < 7; ++i)
        buffer.add("%s", {piece.c_str()});
    buffer.add("%s", {std::string(168, 'y').c_str()});
    // Exactly 7,168 waiting: not more, so the next piece is still appended.
    EXPECT_EQ(buffer.waiting(), 7168u);
    buffer.add("z");
    EXPECT_EQ(fileSize(fd), 0);
    EXPECT_EQ(buffer.waiting(), 7169u);
    // Now more than 7,168 wait: they go out first, the piece starts a new buffer.
    buffer.add("%s", {piece.c_str()});
    EXPECT_EQ(fileSize(fd), 7169);
    EXPECT_EQ(buffer.waiting(), 1000u);
    // A piece is cut at 1,024 bytes, as the system formatter cuts it.
    buffer.add("%s", {std::string(3000, 'w').c_str()});
    EXPECT_EQ(buffer.waiting(), 2024u);
    buffer.finish();
    EXPECT_EQ(fileSize(fd), 7169 + 2024);
    EXPECT_EQ(buffer.waiting(), 0u);
    close(fd);
}

TEST(CrashReportTime, PrintsLocalDosTimeWithSecondsInStepsOfTwo)
{
    struct Case {
        std::int64_t unixTime;
        long offset;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "1/1/1970 00:00:00"},
        {1733659199, 0, "12/8/2024 11:59:58"},   // 59 s shows as 58
        {1733659201, 0, "12/8/2024 12:00:00"},
        {1733659201, 3600, "12/8/2024 13:00:00"},
        {1733616000, -5 * 3600, "12/7/2024 19:00:00"},   // the day before, west of UTC
        {951782400, 0, "2/29/2000 00:00:00"},
    };
    for (const Case& c : cases) {
        char out[64];
        formatReportTime(out, sizeof out, c.unixTime, c.offset);
        EXPECT_STREQ(out, c.expected) << c.unixTime;
    }
}

std::string stackLines(std::uint64_t first, const std::string& bytes)
{
    const int fd = memfd_create("stack", 0);
    static ReportBuffer buffer;
    buffer.open(fd);
    writeStackLines(buffer, first, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    buffer.finish();
    std::string text(static_cast<std::size_t>(fileSize(fd)), '\0');
    EXPECT_EQ(pread(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
    close(fd);
    return text;
}

TEST(CrashReportStack, PrintsFourWordsALinePaddedWithTheirCharacters)
{
    std::string bytes = "ABCDEFGH";
    bytes += std::string("\x01\x7f\x20~abc\xff", 8);
    bytes += "01234567abcdefgh";
    bytes += "tail....";
    const std::string text = stackLines(0x7ffd0000fff0ULL, bytes);
    EXPECT_EQ(text,
              "0x00007ffd0000fff0: 4847464544434241 ff6362617e207f01 3736353433323130 6867666564636261 "
              "ABCDEFGH.. ~abc.01234567abcdefgh\r\n"
              "0x00007ffd00010010: 2e2e2e2e6c696174 "
              "                                                   "
              "tail....\r\n");
    // A trailing partial word is not printed.
    EXPECT_EQ(stackLines(0x1000, "1234567"), "");
}

TEST(MemoryMap, KeepsAddressesAndSmallNumbersAndBlanksEverythingElse)
{
    static MemoryMap map;   // too large for the stack
    map.add({0x10'0000, 0x10'3000, true, false});
    map.add({0x5555'5555'4000, 0x5555'5556'0000, true, true});
    map.add({0x7ffd'0000'0000, 0x7ffd'0002'0000, true, false});
    struct Case {
        std::uint64_t word;
        bool kept;
    };
    const std::uint64_t password = 0x3132336574636573;   // "secret123" cut to a word
    const Case cases[] = {
        {0, true}, {0xFFFF, true}, {~0ULL, true}, {~0ULL - 0xFFFF, true},
        {0x10'0000, true}, {0x10'2fff, true}, {0x10'3000, false}, {0x5555'5555'4abc, true}, {0x7ffd'0001'fff8, true},
        {0x10000, false}, {password, false}, {0x0000'0000'0063'6261, false},   // "abc"
        {0x6400'6300'6200'6100, false},   // "abcd" in UTF-16
    };
    for (const Case& c : cases)
        EXPECT_EQ(reportableWord(c.word, map), c.kept ? c.word : kBlankedWord) << std::hex << c.word;
    EXPECT_EQ(map.containing(0x10'2000)->start, 0x10'0000u);
    EXPECT_EQ(map.containing(0x10'4000), nullptr);
    EXPECT_TRUE(map.readableAround(0x5555'5555'4000)->executable);

    // Whole words in place; a partial word at the end is blanked.
    std::uint8_t bytes[8 * 2 + 3];
    const std::uint64_t words[] = {0x10'2000, password};
    std::memcpy(bytes, words, sizeof words);
    std::memcpy(bytes + 16, "pwd", 3);
    blankPrivateWords(bytes, sizeof bytes, map);
    std::uint64_t after[2];
    std::memcpy(after, bytes, sizeof after);
    EXPECT_EQ(after[0], 0x10'2000u);
    EXPECT_EQ(after[1], kBlankedWord);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes + 16), 3), "\xfe\xfe\xfe");
}

TEST(CrashCodes, MapSignalsToTheReportsCodesAndTexts)
{
    struct Case {
        SignalFacts facts;
        std::uint32_t code;
        const char* text;
    };
    const std::uint64_t sp = 0x7ffd00100000ULL;
    const Case cases[] = {
        {{SIGSEGV, SEGV_MAPERR, 0, sp}, 0xC0000005, "an Access Violation"},
        {{SIGSEGV, SEGV_MAPERR, sp - 8, sp}, 0xC00000FD, "a Stack Overflow"},
        {{SIGSEGV, SEGV_ACCERR, sp - 70000, sp}, 0xC0000005, "an Access Violation"},
        {{SIGILL, ILL_ILLOPN, 0, sp}, 0xC000001D, "an Illegal Instruction"},
        {{SIGILL, ILL_PRVOPC, 0, sp}, 0xC0000096, "a Privileged Instruction"},
        {{SIGFPE, FPE_INTDIV, 0, sp}, 0xC0000094, "an Integer Divide by Zero"},
        {{SIGFPE, FPE_INTOVF, 0, sp}, 0xC0000095, "an Integer Overflow"},
        {{SIGFPE, FPE_FLTDIV, 0, sp}, 0xC000008E, "a Float Divide by Zero"},
        {{SIGFPE, FPE_FLTUND, 0, sp}, 0xC0000093, "a Float Underflow"},
        {{SIGFPE, FPE_FLTINV, 0, sp}, 0xC0000090, "a Float Invalid Operation"},
        {{SIGBUS, BUS_ADRALN, 0, sp}, 0x80000002, "a Datatype Misalignment"},
        {{SIGBUS, BUS_ADRERR, 0, sp}, 0xC0000006, "an In Page Error"},
        {{SIGTRAP, TRAP_BRKPT, 0, sp}, 0x80000003, "a Breakpoint"},
        {{SIGABRT, SI_TKILL, 0, sp}, 0xE06D7363, "a Microsoft C++ Exception"},
        {{SIGUSR1, 0, 0, sp}, 0, "an Unknown exception type"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(exceptionCodeOf(c.facts), c.code) << c.facts.signal << "/" << c.facts.code;
        EXPECT_STREQ(exceptionDescription(c.code), c.text);
    }
}

TEST(ProcTexts, ParseMapsLinesAndKeyedNumbers)
{
    const auto lib = parseMapsLine("7f1c2a000000-7f1c2a022000 r-xp 00028000 fe:01 1316221   /usr/lib/x86_64-linux-gnu/libc.so.6");
    ASSERT_TRUE(lib);
    EXPECT_EQ(lib->start, 0x7f1c2a000000ULL);
    EXPECT_EQ(lib->end, 0x7f1c2a022000ULL);
    EXPECT_TRUE(lib->readable && lib->executable && !lib->writable);
    EXPECT_EQ(lib->offset, 0x28000u);
    EXPECT_EQ(lib->inode, 1316221u);
    EXPECT_EQ(lib->path, "/usr/lib/x86_64-linux-gnu/libc.so.6");
    const auto anonymous = parseMapsLine("7ffd1000-7ffd2000 rw-p 00000000 00:00 0");
    ASSERT_TRUE(anonymous);
    EXPECT_TRUE(anonymous->path.empty());
    EXPECT_EQ(parseMapsLine("7ffd1000-7ffd2000 rw-p 00000000 00:00 0    /tmp/a b (deleted)")->path, "/tmp/a b (deleted)");
    EXPECT_FALSE(parseMapsLine("zz-7ffd2000 rw-p 00000000 00:00 0"));
    EXPECT_FALSE(parseMapsLine("2000-1000 rw-p 00000000 00:00 0"));
    EXPECT_FALSE(parseMapsLine("1000-2000 rw-p"));

    const std::string status = "Name:\tTessaly\nTracerPidX:\t9\nTracerPid:\t4242\nVmRSS:\t  1024 kB\n";
    EXPECT_EQ(keyedNumber(status, "TracerPid"), 4242u);
    EXPECT_EQ(keyedNumber(status, "VmRSS"), 1024u);
    EXPECT_FALSE(keyedNumber(status, "Name"));
    EXPECT_FALSE(keyedNumber(status, "Tracer"));
}

TEST(ProcTexts, LineReaderHandsOutLinesAcrossReadsAndCutsOverlongOnes)
{
    char path[] = "/tmp/linereaderXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::string text;
    for (int i = 0; i < 500; ++i)
        text += "line " + std::to_string(i) + "\n";   // about 4,400 bytes: one line spans two reads
    text += std::string(5000, 'L') + "\n";        // longer than the reader's buffer
    text += "after the long one\nno newline at the end";
    ASSERT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    close(fd);

    LineReader reader(path);
    ASSERT_TRUE(reader.isOpen());
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    unlink(path);
    ASSERT_EQ(lines.size(), 503u);
    for (int i = 0; i < 500; ++i)
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], "line " + std::to_string(i));
    EXPECT_EQ(lines[500], std::string(4096, 'L'));
    EXPECT_EQ(lines[501], "after the long one");
    EXPECT_EQ(lines[502], "no newline at the end");
    EXPECT_FALSE(LineReader("/nonexistent/file").isOpen());
}

} // namespace
} // namespace tessaly
