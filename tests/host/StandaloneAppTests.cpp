// The standalone app as a user runs it: its own X display (Xvfb), a JACK server with the dummy
// backend standing in for the sound card, a MIDI keyboard and a synth played by the test
// through JACK MIDI ports.

#include "KnownSong.h"

#include <tests/support/TemporaryFolder.h>

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
/** A child process with its own environment, ended with the signal of our choice. */
class Child
{
public:
    Child (const std::vector<std::string>& command, const std::vector<std::string>& extraEnvironment, const std::string& logFile)
    {
        std::vector<std::string> environment = extraEnvironment;
        for (auto** variable = environ; *variable != nullptr; ++variable)
            environment.emplace_back (*variable);

        std::vector<char*> argv, envp;
        for (auto& c : command)
            argv.push_back (const_cast<char*> (c.c_str()));
        for (auto& e : environment)
            envp.push_back (const_cast<char*> (e.c_str()));
        argv.push_back (nullptr);
        envp.push_back (nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init (&actions);
        posix_spawn_file_actions_addopen (&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2 (&actions, 1, 2);

        if (posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            pid = -1;

        posix_spawn_file_actions_destroy (&actions);
    }

    // Asked first: a JACK server killed outright leaves its entry in JACK's shared registry.
    ~Child()
    {
        if (isRunning() && ! stop (SIGTERM, 5000))
        {
            ::kill (pid, SIGKILL);
            waitpid (pid, nullptr, 0);
        }
    }

    bool isRunning()
    {
        return pid > 0 && exitStatus < 0 && ! reap (false);
    }

    /** Sends the signal and waits up to timeoutMs for the process to end. */
    bool stop (int signal, int timeoutMs)
    {
        ::kill (pid, signal);

        for (int waited = 0; waited < timeoutMs; waited += 20)
        {
            if (reap (false))
                return true;
            std::this_thread::sleep_for (std::chrono::milliseconds (20));
        }

        return false;
    }

    int getExitStatus() const noexcept { return exitStatus; }

private:
    bool reap (bool block)
    {
        int status = 0;

        if (waitpid (pid, &status, block ? 0 : WNOHANG) != pid)
            return false;

        exitStatus = WIFEXITED (status) ? WEXITSTATUS (status) : 128 + WTERMSIG (status);
        return true;
    }

    pid_t pid = -1;
    int exitStatus = -1;
};

template <typename Condition>
bool waitFor (Condition&& condition, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 50)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }
    return condition();
}

/** The test's own JACK client: a keyboard that plays what it is told, a synth that notes what
    it hears with JACK's frame time. */
class KeyboardAndSynth
{
public:
    struct Heard
    {
        jack_nframes_t time = 0;
        std::array<unsigned char, 3> bytes {};
    };

    explicit KeyboardAndSynth (const char* name)
    {
        client = jack_client_open (name, JackNoStartServer, nullptr);

        if (client == nullptr)
            return;

        keys = jack_port_register (client, "keys", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        ears = jack_port_register (client, "heard", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
        jack_set_process_callback (client, process, this);
        jack_activate (client);
    }

    ~KeyboardAndSynth()
    {
        if (client != nullptr)
        {
            jack_deactivate (client);
            jack_client_close (client);
        }
    }

    bool isOpen() const noexcept { return client != nullptr; }
    jack_client_t* get() const noexcept { return client; }

    /** Plays these three-byte messages at the start of the next period; returns JACK's frame
        time of that period. [test thread] */
    jack_nframes_t play (const std::vector<std::array<unsigned char, 3>>& messages)
    {
        // The process thread takes them once `toPlayCount` says they are there.
        for (size_t i = 0; i < messages.size(); ++i)
            toPlay[i] = messages[i];
        toPlayCount.store ((int) messages.size());
        waitFor ([this]
                 { return toPlayCount.load() == 0; },
                 2000);
        return playedAt.load();
    }

    std::vector<Heard> heard() const
    {
        return { received.begin(), received.begin() + std::min (receivedCount.load(), (int) received.size()) };
    }

private:
    static int process (jack_nframes_t frames, void* self)
    {
        auto& me = *static_cast<KeyboardAndSynth*> (self);
        auto* out = jack_port_get_buffer (me.keys, frames);
        jack_midi_clear_buffer (out);

        if (const auto count = me.toPlayCount.load(); count > 0)
        {
            for (int i = 0; i < count; ++i)
                jack_midi_event_write (out, 0, me.toPlay[(size_t) i].data(), 3);
            me.playedAt.store (jack_last_frame_time (me.client));
            me.toPlayCount.store (0);
        }

        auto* in = jack_port_get_buffer (me.ears, frames);
        const auto start = jack_last_frame_time (me.client);

        for (uint32_t i = 0; i < jack_midi_get_event_count (in); ++i)
        {
            jack_midi_event_t event {};
            const auto index = me.receivedCount.load();

            if (jack_midi_event_get (&event, in, i) == 0 && event.size == 3 && index < (int) me.received.size())
            {
                me.received[(size_t) index].time = start + event.time;
                std::copy_n (event.buffer, 3, me.received[(size_t) index].bytes.begin());
                me.receivedCount.store (index + 1);
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
    std::array<Heard, 4096> received {};
    std::atomic<int> receivedCount { 0 };
};

std::vector<std::array<unsigned char, 3>> chord (unsigned char status, std::initializer_list<unsigned char> pitches)
{
    std::vector<std::array<unsigned char, 3>> messages;
    for (auto pitch : pitches)
        messages.push_back ({ status, pitch, (unsigned char) (status == 0x90 ? 100 : 0) });
    return messages;
}

int freeDisplayNumber()
{
    for (int display = 150 + (int) (getpid() % 100);; ++display)
        if (! juce::File ("/tmp/.X11-unix/X" + juce::String (display)).exists() && ! juce::File ("/tmp/.X" + juce::String (display) + "-lock").exists())
            return display;
}
} // namespace

TEST (StandaloneApp, playsTheSongItKeptOnItsOwnClockThroughJackMidiAndKeepsTheStateForTheNextRun)
{
    const juce::File xvfb ("/usr/bin/Xvfb"), jackd ("/usr/bin/jackd");

    if (! xvfb.existsAsFile())
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs xvfb)";

    if (! jackd.existsAsFile())
        GTEST_SKIP() << "This machine offers no MIDI system the app could be played through: no JACK server to start "
                     << "(jackd is not installed; scripts/setup installs jackd2)"
                     << (juce::File ("/dev/snd/seq").exists() ? ", and this test does not drive the ALSA sequencer" : " and no ALSA sequencer (/dev/snd/seq)");

    TemporaryFolder work ("cadenzium-standalone");
    const auto folder = juce::File (work.string());
    const auto home = folder.getChildFile ("home");
    ASSERT_TRUE (home.getChildFile (".config").createDirectory());

    // The last run's state, where the app keeps it: the known song.
    const auto settingsFile = home.getChildFile (".config/Cadenzium 2.settings");
    {
        juce::PropertiesFile settings (settingsFile, {});
        settings.setValue ("filterState", KnownSong().state().toBase64Encoding());
        ASSERT_TRUE (settings.save());
    }

    const auto displayNumber = freeDisplayNumber();
    const auto display = juce::String (":" + juce::String (displayNumber)).toStdString();
    Child xserver ({ xvfb.getFullPathName().toStdString(), display, "-noreset", "-nolisten", "tcp", "-screen", "0", "1280x800x24" }, {}, folder.getChildFile ("xvfb.log").getFullPathName().toStdString());

    // libjack reports every refused connection while the server starts.
    jack_set_error_function ([] (const char*) {});
    jack_set_info_function ([] (const char*) {});

    // One name for every run: JACK's registry holds a few servers at most, and a run that
    // crashed leaves its entry behind for the next one of the same name to take over.
    const std::string server = "cadenzium-test";
    setenv ("JACK_DEFAULT_SERVER", server.c_str(), 1);
    Child jack ({ jackd.getFullPathName().toStdString(), "--no-realtime", "-n", server, "-d", "dummy", "-r", "48000", "-p", "512" },
                { "JACK_NO_AUDIO_RESERVATION=1" },
                folder.getChildFile ("jackd.log").getFullPathName().toStdString());

    std::unique_ptr<KeyboardAndSynth> test;
    const auto jackRuns = waitFor ([&]
                                   {
                                       test = std::make_unique<KeyboardAndSynth> ("test-midi");
                                       return test->isOpen(); },
                                   10000);

    if (! jackRuns)
        GTEST_SKIP() << "This machine offers no MIDI system the app could be played through: the JACK dummy server did not start ("
                     << folder.getChildFile ("jackd.log").loadFileAsString() << ")"
                     << (juce::File ("/dev/snd/seq").exists() ? "" : ", and there is no ALSA sequencer (/dev/snd/seq)");

    ASSERT_TRUE (waitFor ([&]
                          { return juce::File ("/tmp/.X11-unix/X" + juce::String (displayNumber)).exists(); },
                          10000))
        << "Xvfb did not start";

    // The app connects its JACK MIDI ports to ours itself, as told on its command line.
    Child app ({ CADENZIUM_STANDALONE_PATH, "--jack-midi-in", "test-midi:keys", "--jack-midi-out", "test-midi:heard" },
               { "HOME=" + home.getFullPathName().toStdString(), "DISPLAY=" + display },
               folder.getChildFile ("app.log").getFullPathName().toStdString());

    const auto connected = waitFor ([&]
                                    {
                                        auto* port = jack_port_by_name (test->get(), "test-midi:heard");
                                        return port != nullptr && jack_port_connected (port) > 0 && jack_port_by_name (test->get(), "Cadenzium 2:out_1") != nullptr; },
                                    20000);
    ASSERT_TRUE (connected) << "the app's ports did not appear:\n"
                            << folder.getChildFile ("app.log").loadFileAsString();
    std::this_thread::sleep_for (std::chrono::milliseconds (500));

    // Held for about three beats at the app's 120 bpm, then a keyswitch to the second phrase.
    const auto pressed = test->play (chord (0x90, { 60, 64, 67 }));
    std::this_thread::sleep_for (std::chrono::milliseconds (1600));
    const auto released = test->play (chord (0x80, { 60, 64, 67 }));
    std::this_thread::sleep_for (std::chrono::milliseconds (300));
    test->play (chord (0x90, { 25 }));
    test->play (chord (0x80, { 25 }));
    std::this_thread::sleep_for (std::chrono::milliseconds (500));

    // Ctrl+C: an orderly quit that saves the state.
    ASSERT_TRUE (app.stop (SIGINT, 10000)) << "the app did not quit";
    EXPECT_EQ (app.getExitStatus(), 0) << folder.getChildFile ("app.log").loadFileAsString();

    // What the synth heard while the chord was held.
    std::vector<KeyboardAndSynth::Heard> noteOns;
    std::string heard;

    for (const auto& message : test->heard())
    {
        heard += std::to_string (message.time) + ": " + std::to_string (message.bytes[0]) + " " + std::to_string (message.bytes[1]) + "\n";

        if ((message.bytes[0] & 0xf0) == 0x90 && message.bytes[2] > 0 && message.time < released)
            noteOns.push_back (message);
    }

    // The phrase alone, 50 on the beat and 79 on the off-beat, each a sixteenth: at the app's
    // 120 bpm a note-on every half beat (12000 frames), each 6000 frames long. A busy machine
    // makes the app miss JACK periods now and then, which only ever lengthens a gap or a
    // note: the shortest ones show the clock's tempo.
    ASSERT_GE (noteOns.size(), 4u) << heard;
    std::set<int> pitches;
    std::vector<double> gaps, lengths;

    for (size_t i = 0; i < noteOns.size(); ++i)
    {
        pitches.insert (noteOns[i].bytes[1]);

        if (i > 0)
            gaps.push_back ((double) (noteOns[i].time - noteOns[i - 1].time));

        for (const auto& message : test->heard())
            if (message.time >= noteOns[i].time && (message.bytes[0] & 0xf0) == 0x80 && message.bytes[1] == noteOns[i].bytes[1])
            {
                lengths.push_back ((double) (message.time - noteOns[i].time));
                break;
            }
    }

    EXPECT_EQ (pitches, (std::set<int> { 50, 79 })) << heard;
    EXPECT_NEAR (*std::min_element (gaps.begin(), gaps.end()), 12000.0, 600.0) << heard;
    EXPECT_NEAR (*std::min_element (lengths.begin(), lengths.end()), 6000.0, 600.0) << heard;

    // The Fixed row's 50 needs no chord, so the beats before the press have no 79. Once the
    // chord has arrived (two periods after the press, through the app's JACK client), no
    // phrase note is lost: the first comes within half a beat, and 50 and 79 alternate.
    std::vector<KeyboardAndSynth::Heard> afterPress;

    for (const auto& message : noteOns)
        if (message.time >= pressed + 1024)
            afterPress.push_back (message);

    ASSERT_GE (afterPress.size(), 4u) << "pressed at " << pressed << "\n" << heard;
    EXPECT_LE (afterPress.front().time - (pressed + 1024), 12000u + 1024u) << "pressed at " << pressed << "\n" << heard;

    for (size_t i = 1; i < afterPress.size(); ++i)
        EXPECT_NE (afterPress[i].bytes[1], afterPress[i - 1].bytes[1]) << "pressed at " << pressed << "\n" << heard;

    // The state came back at the start (the song played) and went out at the end: the
    // keyswitch made the second phrase the current one.
    juce::PropertiesFile saved (settingsFile, {});
    juce::MemoryBlock state;
    ASSERT_TRUE (state.fromBase64Encoding (saved.getValue ("filterState")));
    KnownSong().expectIn (state);
    const auto tree = treeOf (state);
    EXPECT_EQ ((int) tree.getChildWithName ("sequences").getProperty ("current"), 1);
}
