// The standalone app as a user runs it: its own X display (Xvfb), a JACK server with the dummy
// backend standing in for the sound card, a MIDI keyboard and a synth played by the test
// through JACK MIDI ports.

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

namespace
{
/** Tries the condition every 50 ms until it holds or the time is up. */
template <typename Condition>
bool waitFor (Condition&& condition, int timeoutMs)
{
    for (int waited = 0; ! condition(); waited += 50)
    {
        if (waited >= timeoutMs)
            return false;
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }
    return true;
}

/** A child process with more environment, its output in a log file. Asked to quit when it
    goes: a JACK server killed outright leaves its entry in JACK's shared registry. */
class Child
{
public:
    Child (std::vector<std::string> command, std::vector<std::string> environment, const juce::File& log)
    {
        for (auto** variable = environ; *variable != nullptr; ++variable)
            environment.emplace_back (*variable);

        std::vector<char*> argv, envp;
        for (auto& c : command)
            argv.push_back (c.data());
        for (auto& e : environment)
            envp.push_back (e.data());
        argv.push_back (nullptr);
        envp.push_back (nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init (&actions);
        posix_spawn_file_actions_addopen (&actions, 1, log.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2 (&actions, 1, 2);

        if (posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid = -1;

        posix_spawn_file_actions_destroy (&actions);
    }

    ~Child()
    {
        if (pid > 0 && ! stop (SIGTERM, 5000))
        {
            ::kill (pid, SIGKILL);
            waitpid (pid, nullptr, 0);
        }
    }

    /** Sends the signal and waits up to timeoutMs for the process to end. */
    bool stop (int signal, int timeoutMs)
    {
        if (pid > 0 && exitStatus < 0)
            ::kill (pid, signal);

        return waitFor ([this]
                        {
                            int status = 0;
                            if (exitStatus < 0 && pid > 0 && waitpid (pid, &status, WNOHANG) == pid)
                                exitStatus = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
                            return exitStatus >= 0; },
                        timeoutMs);
    }

    int getExitStatus() const noexcept { return exitStatus; }

private:
    pid_t pid = -1;
    int exitStatus = -1;
};

/** The test's own JACK client "test-midi": a keyboard that plays what it is told, a synth
    that notes what it hears with JACK's frame time. */
class KeyboardAndSynth
{
public:
    struct Message
    {
        jack_nframes_t time = 0;
        std::array<unsigned char, 3> bytes {};
    };

    KeyboardAndSynth()
    {
        if ((client = jack_client_open ("test-midi", JackNoStartServer, nullptr)) == nullptr)
            return;

        keys = jack_port_register (client, "keys", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        ears = jack_port_register (client, "heard", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback (client, process, this);
        jack_activate (client);
    }

    ~KeyboardAndSynth()
    {
        if (client != nullptr)
            jack_client_close (client);
    }

    bool isOpen() const noexcept { return client != nullptr; }
    jack_client_t* get() const noexcept { return client; }

    /** Plays a note-on (velocity 100) or note-off for each pitch at the start of the next
        period; returns JACK's frame time of that period. [test thread] */
    jack_nframes_t play (unsigned char status, std::initializer_list<unsigned char> pitches)
    {
        // The process thread takes them once `toPlayCount` says they are there.
        std::transform (pitches.begin(), pitches.end(), toPlay.begin(), [status] (auto pitch)
                        { return std::array<unsigned char, 3> { status, pitch, (unsigned char) (status == 0x90 ? 100 : 0) }; });
        toPlayCount.store ((int) pitches.size());
        waitFor ([this]
                 { return toPlayCount.load() == 0; },
                 2000);
        return playedAt.load();
    }

    std::vector<Message> heard() const
    {
        return { received.begin(), received.begin() + receivedCount.load() };
    }

private:
    static int process (jack_nframes_t frames, void* self)
    {
        auto& me = *static_cast<KeyboardAndSynth*> (self);
        auto* out = jack_port_get_buffer (me.keys, frames);
        const auto start = jack_last_frame_time (me.client);
        jack_midi_clear_buffer (out);

        if (const auto count = me.toPlayCount.load(); count > 0)
        {
            for (int i = 0; i < count; ++i)
                jack_midi_event_write (out, 0, me.toPlay[(size_t) i].data(), 3);
            me.playedAt.store (start);
            me.toPlayCount.store (0);
        }

        auto* in = jack_port_get_buffer (me.ears, frames);
        jack_midi_event_t event {};

        for (uint32_t i = 0; i < jack_midi_get_event_count (in); ++i)
        {
            const auto index = (size_t) me.receivedCount.load();

            if (jack_midi_event_get (&event, in, i) == 0 && event.size == 3 && index < me.received.size())
            {
                me.received[index].time = start + event.time;
                std::copy_n (event.buffer, 3, me.received[index].bytes.begin());
                me.receivedCount.store ((int) index + 1);
            }
        }

        return 0;
    }

    jack_client_t* client = nullptr;
    jack_port_t* keys = nullptr;
    jack_port_t* ears = nullptr;
    std::array<std::array<unsigned char, 3>, 16> toPlay {};
    std::atomic<int> toPlayCount { 0 };
    std::atomic<jack_nframes_t> playedAt { 0 };
    std::array<Message, 4096> received {};
    std::atomic<int> receivedCount { 0 };
};
} // namespace

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
    {
        juce::PropertiesFile settings (settingsFile, {});
        settings.setValue ("filterState", KnownSong().state().toBase64Encoding());
        ASSERT_TRUE (settings.save());
    }

    // libjack reports every refused connection while the server starts.
    jack_set_error_function ([] (const char*) {});
    jack_set_info_function ([] (const char*) {});

    // One name for every run: JACK's registry holds a few servers at most, and a run that
    // crashed leaves its entry behind for the next one of the same name to take over.
    setenv ("JACK_DEFAULT_SERVER", "cadenzium-test", 1);
    Child jack ({ jackd.getFullPathName().toStdString(), "--no-realtime", "-n", "cadenzium-test", "-d", "dummy", "-r", "48000", "-p", "512" },
                { "JACK_NO_AUDIO_RESERVATION=1" },
                folder.getChildFile ("jackd.log"));

    std::unique_ptr<KeyboardAndSynth> test;

    if (! waitFor ([&test]
                   { return (test = std::make_unique<KeyboardAndSynth>())->isOpen(); },
                   10000))
        GTEST_SKIP() << noMidiSystem << "the JACK dummy server did not start (" << folder.getChildFile ("jackd.log").loadFileAsString() << ")" << alsa;

    // The app connects its JACK MIDI ports to ours itself, as told on its command line.
    Child app ({ CADENZIUM_STANDALONE_PATH, "--jack-midi-in", "test-midi:keys", "--jack-midi-out", "test-midi:heard" },
               { "HOME=" + home.getFullPathName().toStdString() },
               folder.getChildFile ("app.log"));

    ASSERT_TRUE (waitFor ([&test]
                          {
                              auto* port = jack_port_by_name (test->get(), "test-midi:heard");
                              return port != nullptr && jack_port_connected (port) > 0 && jack_port_by_name (test->get(), "Cadenzium 2:out_1") != nullptr; },
                          20000))
        << "the app's ports did not appear:\n"
        << folder.getChildFile ("app.log").loadFileAsString();
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
    EXPECT_EQ (app.getExitStatus(), 0) << folder.getChildFile ("app.log").loadFileAsString();

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
        log += std::to_string (m->time) + ": " + std::to_string (m->bytes[0]) + " " + std::to_string (m->bytes[1]) + "\n";

        if ((m->bytes[0] & 0xf0) != 0x90 || m->bytes[2] == 0 || m->time >= released)
            continue;

        if (! noteOns.empty())
            shortestGap = std::min (shortestGap, (double) (m->time - noteOns.back().time));

        noteOns.push_back (*m);
        pitches.insert (m->bytes[1]);
        const auto end = std::find_if (m, heard.end(), [&m] (const auto& n)
                                       { return (n.bytes[0] & 0xf0) == 0x80 && n.bytes[1] == m->bytes[1]; });

        if (end != heard.end())
            shortestNote = std::min (shortestNote, (double) (end->time - m->time));
    }

    ASSERT_GE (noteOns.size(), 4u) << log;
    EXPECT_EQ (pitches, (std::set<int> { 50, 79 })) << log;
    EXPECT_NEAR (shortestGap, 12000.0, 600.0) << log;
    EXPECT_NEAR (shortestNote, 6000.0, 600.0) << log;

    // The Fixed row's 50 needs no chord, so the beats before the press have no 79. Once the
    // chord has arrived (two periods after the press, through the app's JACK client), no
    // phrase note is lost: the first comes within half a beat, and 50 and 79 alternate.
    const auto arrived = std::find_if (noteOns.begin(), noteOns.end(), [pressed] (const auto& m)
                                       { return m.time >= pressed + 1024; });
    ASSERT_GE (noteOns.end() - arrived, 4) << log;
    EXPECT_LE (arrived->time - (pressed + 1024), 12000u + 1024u) << log;

    for (auto m = arrived + 1; m != noteOns.end(); ++m)
        EXPECT_NE (m->bytes[1], (m - 1)->bytes[1]) << log;

    // The state came back at the start (the song played) and went out at the end: the
    // keyswitch made the second phrase the current one.
    juce::MemoryBlock state;
    ASSERT_TRUE (state.fromBase64Encoding (juce::PropertiesFile (settingsFile, {}).getValue ("filterState")));
    KnownSong().expectIn (state);
    EXPECT_EQ ((int) treeOf (state).getChildWithName ("sequences").getProperty ("current"), 1);
}
