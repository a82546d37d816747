#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/net/LineAssembler.h"

namespace tessaly {
namespace {

// Feeds the chunks in order and collects the lines.
struct Assembly {
    LineAssembler assembler;
    std::vector<std::string> lines;

    void feed(const std::string& chunk)
    {
        assembler.feed(chunk.data(), chunk.size(), [this](char* line, std::size_t length) {
            EXPECT_EQ(line[length], '\0');
            lines.emplace_back(line, length);
        });
    }
};

TEST(LineAssembler, CutsChunksIntoLines)
{
    struct Case {
        const char* name;
        std::vector<std::string> chunks;
        std::vector<std::string> lines;
        std::size_t pending;
    };
    const Case cases[] = {
        {"two lines in one chunk", {"A\t1\rB\t2\r"}, {"A\t1", "B\t2"}, 0},
        {"one line over three chunks", {"HIST", "ORY_DEA", "LER:\t1\t2\r"}, {"HISTORY_DEALER:\t1\t2"}, 0},
        {"chunk ends with CR", {"X\r"}, {"X"}, 0},
        {"bytes after CR start the next line", {"X\rYY", "Y\r"}, {"X", "YYY"}, 0},
        {"incomplete line waits", {"LOGIN_SUC"}, {}, 9},
        {"empty lines", {"\r\r"}, {"", ""}, 0},
        {"line feed stays in the line", {"A\nB\r"}, {"A\nB"}, 0},
        {"NUL drops the rest of its chunk", {std::string("AB\0C\rD\r", 7), "E\r"}, {"ABE"}, 0},
        {"NUL at chunk start", {std::string("\0X\r", 3), "Y\r"}, {"Y"}, 0},
    };
    for (const Case& c : cases) {
        Assembly a;
        for (const std::string& chunk : c.chunks)
            a.feed(chunk);
        EXPECT_EQ(a.lines, c.lines) << c.name;
        EXPECT_EQ(a.assembler.pending(), c.pending) << c.name;
    }
}

TEST(LineAssembler, DropsALineThatOutgrowsTheBufferWhole)
{
    Assembly a;
    const std::string longest(LineAssembler::kMaxLine, 'a');
    a.feed(longest.substr(0, 30000));
    a.feed(longest.substr(30000) + "\r");
    ASSERT_EQ(a.lines.size(), 1u);
    EXPECT_EQ(a.lines[0].size(), LineAssembler::kMaxLine);

    a.lines.clear();
    a.feed(std::string(40000, 'b'));
    a.feed(std::string(10000, 'b'));   // 50,000 bytes without a CR
    EXPECT_TRUE(a.assembler.dropping());
    a.feed(std::string(70000, 'b') + "\rNEXT\r");
    EXPECT_EQ(a.lines, std::vector<std::string>{"NEXT"});
    EXPECT_FALSE(a.assembler.dropping());
}

} // namespace
} // namespace tessaly
