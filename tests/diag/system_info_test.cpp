// The system information parsers on sample trees of three machines (an x86
// laptop with two display adapters, an ARM board without "model name" or
// cpufreq, a headless virtual machine) and the fields' formats.

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>

#include "client/diag/SystemInfo.h"

namespace tessaly {
namespace {

std::filesystem::path sample(const char* machine)
{
    const char* source = std::getenv("TESSALY_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests/diag/samples" / machine;
}

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

struct MachineCase {
    const char* machine;
    SystemInfoTexts expected;
};

void PrintTo(const MachineCase& c, std::ostream* out)
{
    *out << c.machine;
}

class SampleMachines : public ::testing::TestWithParam<MachineCase> {};

TEST_P(SampleMachines, FillsEveryFieldFromTheMachinesOwnFiles)
{
    const MachineCase& c = GetParam();
    const SystemInfoTexts texts = systemInfoTexts(readSystemFacts(sample(c.machine), 0));
    const SystemInfoTexts& e = c.expected;
    EXPECT_EQ(texts.version, e.version);
    EXPECT_EQ(texts.processors, e.processors);
    EXPECT_EQ(texts.cpuType, e.cpuType);
    EXPECT_EQ(texts.features, e.features);
    EXPECT_EQ(texts.memoryLoad, e.memoryLoad);
    EXPECT_EQ(texts.physical, e.physical);
    EXPECT_EQ(texts.graphics, e.graphics);
    // Nothing mapped: the whole user address space is free.
    EXPECT_EQ(texts.virtualMemory, "  134217728 MB free out of 134217728 MB");
}

INSTANTIATE_TEST_SUITE_P(
    Machines, SampleMachines,
    ::testing::Values(
        // cpufreq's 3.8 GHz beats cpuinfo's MHz; card0 (not its connector, not card1) is the adapter.
        MachineCase{"x86",
                    {"  6.1 Debian GNU/Linux 12 (bookworm)", "  4",
                     "  3.80 GHz Intel(R) Core(TM) i7-7700HQ CPU @ 2.80GHz", "  FPU MMX SSE SSE2 RDTSC PAE ", "  24%",
                     "  11948 MB free out of 15931 MB", "", "  Intel Corporation HD Graphics 630"}},
        // No model name, no clock: an empty name and a zero speed; ARM's "fp" is the FPU.
        MachineCase{"arm",
                    {"  6.6 Raspbian GNU/Linux 12 (bookworm)", "  4", "  0.00 GHz ", "  FPU ", "  13%",
                     "  3272 MB free out of 3793 MB", "", "  vc4-drm"}},
        // Leading blanks of the name stay, tabs go; no adapter leaves the field empty.
        MachineCase{"headless",
                    {"  5.10 Some \"Quoted\" Linux", "  3", "  2.39 GHz   Virtual CPU\tmodel 7", "  No FPU (!) RDTSC ",
                     "  66%", "  1024 MB free out of 3072 MB", "", ""}}),
    [](const auto& test) { return std::string(test.param.machine); });

TEST(SystemInfoParsers, ReadTheirSourcesLikeTheKernelWritesThem)
{
    EXPECT_EQ(cpuListCount("0-3\n"), 4u);
    EXPECT_EQ(cpuListCount("0,2-3,8"), 4u);
    EXPECT_EQ(cpuListCount("5"), 1u);
    EXPECT_EQ(cpuListCount(""), 0u);
    EXPECT_EQ(cpuListCount("3-1"), 0u);
    EXPECT_EQ(cpuListCount("0-x"), 0u);

    const KernelVersion full = parseKernelRelease("6.1.0-18-amd64");
    EXPECT_EQ(full.major, 6u);
    EXPECT_EQ(full.minor, 1u);
    EXPECT_EQ(full.patch, 0u);
    const KernelVersion shortRelease = parseKernelRelease("5.10");
    EXPECT_EQ(shortRelease.minor, 10u);
    EXPECT_EQ(shortRelease.patch, 0u);

    EXPECT_EQ(osReleasePrettyName("NAME=x\nPRETTY_NAME=Plain\n"), "Plain");
    EXPECT_EQ(osReleasePrettyName("PRETTY_NAME='Single quoted'"), "Single quoted");
    EXPECT_EQ(osReleasePrettyName("NAME=x\n"), "");

    // Only "model name" lines count, and only the first; "cpu MHz" keeps the highest.
    EXPECT_EQ(cpuModelName("model\t\t: 158\nmodel name\t: \tA\t\nmodel name\t: B\n"), "A");
    EXPECT_DOUBLE_EQ(cpuinfoMaxMHz("cpu MHz\t\t: 800.5\ncpu MHz\t\t: 4000.25\ncpu MHz\t\t: 1200\n"), 4000.25);
    // "sse" must not be found inside "sse2" or "ssse3", nor "fp" inside "fpu_exception".
    EXPECT_EQ(cpuFeatureText("flags\t\t: sse2 ssse3 fpu_exception 3dnowext\n"), "  No FPU (!) SSE2 ");
}

TEST(SystemInfoParsers, NamesPciDevicesFromTheIdDatabase)
{
    const std::string ids = "8086  Intel Corporation\n\t5917  UHD Graphics 620\n\t\t8086 2212  Sub\n"
                            "10de  NVIDIA Corporation\n\t1c8d  GP107M\n"
                            "C 03  Display controller\n\t00  VGA compatible controller\n";
    EXPECT_EQ(pciDeviceName(ids, 0x8086, 0x5917), "Intel Corporation UHD Graphics 620");
    EXPECT_EQ(pciDeviceName(ids, 0x10de, 0x1c8d), "NVIDIA Corporation GP107M");
    // A subsystem line never names the device; the next vendor's devices are not this vendor's.
    EXPECT_EQ(pciDeviceName(ids, 0x8086, 0x2212), "Intel Corporation Device 2212");
    EXPECT_EQ(pciDeviceName(ids, 0x8086, 0x1c8d), "Intel Corporation Device 1c8d");
    EXPECT_EQ(pciDeviceName(ids, 0x1234, 0x0001), "Device 1234:0001");
    EXPECT_EQ(pciDeviceName("", 0x1af4, 0x1050), "Device 1af4:1050");
}

TEST(SystemInfoFormats, FollowTheDialogsPatterns)
{
    EXPECT_EQ(memoryAmountText(1 * kGiB, 3 * kGiB), "  1024 MB free out of 3072 MB");
    // Mebibytes are cut, not rounded.
    EXPECT_EQ(memoryAmountText(kGiB - 1, kGiB + (1u << 20) - 1), "  1023 MB free out of 1024 MB");
    EXPECT_EQ(cpuTypeText(2394.454, "X"), "  2.39 GHz X");
    EXPECT_EQ(cpuTypeText(2395, "X"), "  2.40 GHz X");
    EXPECT_EQ(memoryLoadText(7), "  7%");
    EXPECT_EQ(processorCountText(16), "  16");
    EXPECT_EQ(versionText({6, 1, 0}, ""), "  6.1 ");
}

} // namespace
} // namespace tessaly
