// The standalone app as a user runs it: its own X display (Xvfb), a JACK server with the dummy
// backend standing in for the sound card, a MIDI keyboard and a synth played by the test
// through JACK MIDI ports.

#include "JackTestSupport.h"
#include "KnownSong.h"

#include <tests/support/TemporaryFolder.h>
#include <tests/support/editor/XvfbServer.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

using namespace cadenzium::test;


TEST (StandaloneApp, playsTheSongItKeptOnItsOwnClockThroughJackMidiAndKeepsTheStateForTheNextRun)
{
    const juce::File jackd ("/usr/bin/jackd");
    const auto noMidiSystem = "This machine offers no MIDI system the app could be played through: ";
    const auto alsa = juce::File ("/dev/snd/seq").exists() ? ", and this test does not drive the ALSA sequencer" : ", and there is no ALSA sequencer (/dev/snd/seq)";

    if (! jackd.existsAsFile())
        GTEST_SKIP() << noMidiSystem << "no JACK server to start (scripts/setup installs jackd2)" << alsa;

    XvfbServer xserver;
    ASSERT_TRUE (xserver.isRunning()) << xserver.getError();

    TemporaryFolder work ("cadenzium-standalone");
    const auto folder = juce::File (work.string());
    const auto home = folder.getChildFile ("home");

    // The last run's state, where the app keeps it: the known song.
    const auto settingsFile = home.getChildFile (".config/Cadenzium 2.settings");
    ASSERT_TRUE (settingsFile.getParentDirectory().createDirectory());
    juce::PropertiesFile (settingsFile, {}).setValue ("filterState", KnownSong().state().toBase64Encoding());

    // libjack reports every refused connection while the server starts.
    jack_set_error_function ([] (const char*) {});
    jack_set_info_function ([] (const char*) {});

    // One name for every run: JACK's registry holds a few servers at most, and a run that
    // crashed leaves its entry behind for the next one of the same name to take over.
    setenv ("JACK_DEFAULT_SERVER", "cadenzium-test", 1);
    Child jack ({ jackd.getFullPathName().toStdString(), "--no-realtime", "-n", "cadenzium-test", "-d", "dummy", "-r", "48000", "-p", "512" },
                "JACK_NO_AUDIO_RESERVATION=1",
                folder.getChildFile ("jackd.log"));
    std::unique_ptr<KeyboardAndSynth> test;

    if (! waitFor ([&test] { return (test = std::make_unique<KeyboardAndSynth>())->client != nullptr; }, 10000))
        GTEST_SKIP() << noMidiSystem << "the JACK dummy server did not start (" << folder.getChildFile ("jackd.log").loadFileAsString() << ")" << alsa;

    // The app connects its JACK MIDI ports to ours itself, as told on its command line.
    Child app ({ CADENZIUM_STANDALONE_PATH, "--jack-midi-in", "test-midi:keys", "--jack-midi-out", "test-midi:heard" },
               "HOME=" + home.getFullPathName().toStdString(),
               folder.getChildFile ("app.log"));
    const auto appPortsConnected = [&test]
    {
        auto* port = jack_port_by_name (test->client, "test-midi:heard");
        return port != nullptr && jack_port_connected (port) > 0 && jack_port_by_name (test->client, "Cadenzium 2:out_1") != nullptr;
    };
    ASSERT_TRUE (waitFor (appPortsConnected, 20000)) << "the app's ports did not appear:\n" << folder.getChildFile ("app.log").loadFileAsString();
    std::this_thread::sleep_for (std::chrono::milliseconds (500));

    // Held for about three beats at the app's 120 bpm, then a keyswitch to the second phrase.
    const auto pressed = test->play (0x90, { 60, 64, 67 });
    std::this_thread::sleep_for (std::chrono::milliseconds (1600));
    const auto released = test->play (0x80, { 60, 64, 67 });
    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    test->play (0x90, { 25 });
    test->play (0x80, { 25 });
    std::this_thread::sleep_for (std::chrono::milliseconds (500));

    // Ctrl+C: an orderly quit that saves the state.
    ASSERT_TRUE (app.stop (SIGINT, 10000)) << "the app did not quit";
    EXPECT_EQ (app.status, 0) << folder.getChildFile ("app.log").loadFileAsString();

    // What the synth heard while the chord was held: the phrase alone, 50 on the beat and 79
    // on the off-beat, each a sixteenth; at the app's 120 bpm a note-on every half beat (12000
    // frames), each 6000 frames long. A busy machine makes the app miss JACK periods now and
    // then, which only ever lengthens a gap or a note: the shortest ones show the clock's tempo.
    const auto heard = test->heard();
    std::string log = "pressed at " + std::to_string (pressed) + "\n";
    std::vector<KeyboardAndSynth::Message> noteOns;
    std::set<int> pitches;
    double shortestGap = 1.0e9, shortestNote = 1.0e9;

    for (auto m = heard.begin(); m != heard.end(); ++m)
    {
        const auto [time, bytes] = *m;
        log += std::to_string (time) + ": " + std::to_string (bytes[0]) + " " + std::to_string (bytes[1]) + "\n";

        if ((bytes[0] & 0xf0) != 0x90 || bytes[2] == 0 || time >= released)
            continue;

        if (! noteOns.empty())
            shortestGap = std::min (shortestGap, (double) (time - noteOns.back().first));

        noteOns.push_back (*m);
        pitches.insert (bytes[1]);
        const auto end = std::find_if (m, heard.end(), [pitch = bytes[1]] (const auto& n) { return (n.second[0] & 0xf0) == 0x80 && n.second[1] == pitch; });

        if (end != heard.end())
            shortestNote = std::min (shortestNote, (double) (end->first - time));
    }

    ASSERT_GE (noteOns.size(), 4u) << log;
    EXPECT_EQ (pitches, (std::set<int> { 50, 79 })) << log;
    EXPECT_NEAR (shortestGap, 12000.0, 600.0) << log;
    EXPECT_NEAR (shortestNote, 6000.0, 600.0) << log;

    // The Fixed row's 50 needs no chord, so the beats before the press have no 79. Once the
    // chord has arrived (two periods after the press, through the app's JACK client), no
    // phrase note is lost: the first comes within half a beat, and 50 and 79 alternate.
    const auto arrived = std::find_if (noteOns.begin(), noteOns.end(), [pressed] (const auto& m) { return m.first >= pressed + 1024; });
    ASSERT_GE (noteOns.end() - arrived, 4) << log;
    EXPECT_LE (arrived->first - (pressed + 1024), 12000u + 1024u) << log;

    for (auto m = arrived + 1; m != noteOns.end(); ++m)
        EXPECT_NE (m->second[1], (m - 1)->second[1]) << log;

    // The state came back at the start (the song played) and went out at the end: the
    // keyswitch made the second phrase the current one.
    juce::MemoryBlock state;
    ASSERT_TRUE (state.fromBase64Encoding (juce::PropertiesFile (settingsFile, {}).getValue ("filterState")));
    KnownSong().expectIn (state);
    EXPECT_EQ ((int) treeOf (state).getChildWithName ("sequences").getProperty ("current"), 1);
}
