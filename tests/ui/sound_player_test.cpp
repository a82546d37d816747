#include <gtest/gtest.h>

#include <QLoggingCategory>

#include <csignal>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "client/ui/SoundPlayer.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/MixerAudio.h"

namespace tessaly {
namespace {

namespace fs = std::filesystem;

// Writes a short mono 16-bit wave file of a tone.
void writeWave(const fs::path& path, int milliseconds)
{
    const std::uint32_t rate = 22050;
    const std::uint32_t samples = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    const std::uint32_t dataBytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    for (std::uint32_t i = 0; i < samples; ++i)
        u16(static_cast<std::uint16_t>((i / 25) % 2 ? 8000 : -8000));
}

// A scratch directory made current for the test, as the client makes the
// program's directory current.
class SoundFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() / ("tessaly-sound-" + std::to_string(::getpid()));
        fs::create_directories(dir_ / "sounds" / "dir.wav");
        fs::current_path(dir_);
        writeWave("sounds/yourturn.wav", 50);
        writeWave("sounds/CHECK.WAV", 50);
        writeWave("sounds/noextension", 50);
        std::ofstream("sounds/theme.mid") << "not really midi";
        std::ofstream("sounds/other.MIDI") << "x";
        std::ofstream("sounds/notes.txt") << "x";
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }

private:
    fs::path previous_;
    fs::path dir_;
};

class RecordingDevice final : public AudioDevice {
public:
    std::vector<std::string> calls;
    bool openSucceeds = true;

    void playWave(const std::string& path) override { calls.push_back("wave " + path); }
    void stopWave() override { calls.push_back("stop wave"); }
    bool openMusic(const std::string& path) override
    {
        calls.push_back("open " + path);
        return openSucceeds;
    }
    void playMusicFromStart() override { calls.push_back("play music"); }
    void stopMusic() override { calls.push_back("stop music"); }
};

using Calls = std::vector<std::string>;
const Calls kStop = {"stop wave", "stop music"};

Calls plus(Calls a, const Calls& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(SoundFiles, PathRules)
{
    struct Case {
        const char* name;
        Calls calls;
    };
    const Case cases[] = {
        {"sounds\\yourturn.wav", plus(kStop, {"wave sounds/yourturn.wav"})},
        {"sounds\\CHECK.WAV", plus(kStop, {"wave sounds/CHECK.WAV"})},
        {"sounds\\missing.wav", {}},
        {"sounds\\dir.wav", {}},
        {"sounds\\noextension", {}},
        {"sounds\\notes.txt", {}},
        {"sounds\\other.MIDI", plus(kStop, {"open sounds/other.MIDI", "play music"})},
    };
    for (const Case& c : cases) {
        RecordingDevice device;
        SoundPlayer player(device);
        player.PlaySoundFile(c.name);
        EXPECT_EQ(device.calls, c.calls) << c.name;
    }
}

TEST_F(SoundFiles, MidiPlayedAgainRestartsWithoutReopening)
{
    RecordingDevice device;
    SoundPlayer player(device);
    player.PlaySoundFile("sounds\\theme.mid");
    player.PlaySoundFile("sounds\\theme.mid");
    EXPECT_EQ(device.calls, plus(plus(kStop, {"open sounds/theme.mid", "play music"}), plus(kStop, {"play music"})));

    RecordingDevice failing;
    failing.openSucceeds = false;
    SoundPlayer silent(failing);
    silent.PlaySoundFile("sounds\\theme.mid");
    EXPECT_EQ(failing.calls, plus(kStop, {"open sounds/theme.mid"}));
}

TEST_F(SoundFiles, TheSwitchSilencesAndFlipsBack)
{
    RecordingDevice device;
    SoundPlayer player(device);
    EXPECT_TRUE(player.soundsEnabled());
    player.toggleSounds();
    player.PlaySoundFile("sounds\\yourturn.wav");
    EXPECT_TRUE(device.calls.empty());
    player.toggleSounds();
    player.PlaySoundFile("sounds\\yourturn.wav");
    EXPECT_EQ(device.calls, plus(kStop, {"wave sounds/yourturn.wav"}));
}

TEST_F(SoundFiles, MixerPlaysOnOneChannelSoANewSoundCutsTheOld)
{
    MixerAudio audio;
    SoundPlayer player(audio);
    player.PlaySoundFile("sounds\\yourturn.wav");
    ASSERT_TRUE(audio.available()) << "SDL_AUDIODRIVER=dummy should give a device";
    EXPECT_TRUE(audio.wavePlaying());
    player.PlaySoundFile("sounds\\CHECK.WAV");
    EXPECT_TRUE(audio.wavePlaying());
    player.StopSound();
    EXPECT_FALSE(audio.wavePlaying());
    // The open device leaves Ctrl-C and kill to end the program.
    for (const int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

TEST_F(SoundFiles, NoAudioDeviceIsSilentWithOneTrace)
{
    static int traces = 0;
    traces = 0;
    QLoggingCategory::setFilterRules("tessaly.trace=true");
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext& context, const QString&) {
        if (std::string_view(context.category ? context.category : "") == "tessaly.trace")
            ++traces;
    });
    const std::string driver = std::getenv("SDL_AUDIODRIVER") ? std::getenv("SDL_AUDIODRIVER") : "";
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        MixerAudio audio;
        SoundPlayer player(audio);
        player.PlaySoundFile("sounds\\yourturn.wav");
        player.PlaySoundFile("sounds\\yourturn.wav");
        player.PlaySoundFile("sounds\\theme.mid");
        EXPECT_FALSE(audio.available());
        EXPECT_FALSE(audio.wavePlaying());
    }
    ::setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules("tessaly.trace=false");
    EXPECT_EQ(traces, 1);
}

} // namespace
} // namespace tessaly
