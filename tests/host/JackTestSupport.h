#pragma once

// A JACK server with the dummy backend and a client of the test's own, to play the standalone
// app through JACK MIDI as a keyboard and a synth would.

#include <juce_core/juce_core.h>

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace cadenzium::test
{
/** Tries the condition every 50 ms until it holds or the time is up. */
template <typename Condition>
inline bool waitFor (Condition&& condition, int timeoutMs)
{
    for (int waited = 0; ! condition(); waited += 50)
    {
        if (waited >= timeoutMs)
            return false;
        std::this_thread::sleep_for (std::chrono::milliseconds (50));
    }
    return true;
}

/** A child process with one more environment variable, its output in `log`. Asked to quit
    when it goes: a JACK server killed outright leaves its entry in JACK's shared registry. */
class Child
{
public:
    Child (std::vector<std::string> command, std::string variable, const juce::File& log)
    {
        std::vector<char*> argv, envp { variable.data() };
        for (auto& c : command)
            argv.push_back (c.data());
        for (auto** v = environ; *v != nullptr; ++v)
            envp.push_back (*v);
        argv.push_back (nullptr);
        envp.push_back (nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init (&actions);
        posix_spawn_file_actions_addopen (&actions, 1, log.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2 (&actions, 1, 2);
        pid = posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
        posix_spawn_file_actions_destroy (&actions);
    }

    ~Child()
    {
        if (! stop (SIGTERM, 5000))
            stop (SIGKILL, 5000);
    }

    /** Sends the signal and waits up to timeoutMs for the process to end; its exit status
        (128 + the signal if one ended it) then goes to `status`. */
    bool stop (int signal, int timeoutMs)
    {
        if (pid > 0 && status < 0)
            ::kill (pid, signal);

        return pid <= 0 || waitFor ([this]
                                    {
                                        int s = 0;
                                        if (status < 0 && waitpid (pid, &s, WNOHANG) == pid)
                                            status = WIFEXITED (s) ? WEXITSTATUS (s) : 128 + WTERMSIG (s);
                                        return status >= 0; },
                                    timeoutMs);
    }

    int status = -1;

private:
    pid_t pid = -1;
};

/** A JACK client of the test's own ("test-midi" unless named): a keyboard ("keys") that plays what it is told, a
    synth ("heard") that notes what it hears with JACK's frame time. */
class KeyboardAndSynth
{
public:
    using Message = std::pair<jack_nframes_t, std::array<unsigned char, 3>>;

    explicit KeyboardAndSynth (const char* name = "test-midi") : client (jack_client_open (name, JackNoStartServer, nullptr))
    {
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
            jack_client_close (client);
    }

    /** Plays a note-on (velocity 100) or note-off for each pitch at `offset` in the next
        period; returns JACK's frame time of that period. [test thread] */
    jack_nframes_t play (unsigned char status, std::vector<unsigned char> pitches, jack_nframes_t offset = 0)
    {
        for (size_t i = 0; i < pitches.size(); ++i)
            toPlay[i] = { status, pitches[i], (unsigned char) (status == 0x90 ? 100 : 0) };

        toPlayOffset.store (offset);
        toPlayCount.store ((int) pitches.size()); // the process thread takes them from here on
        waitFor ([this] { return toPlayCount.load() == 0; }, 2000);
        return playedAt.load();
    }

    std::vector<Message> heard() const { return { received.begin(), received.begin() + receivedCount.load() }; }

    /** JACK's frame time of every period this client ran in: a server that falls behind
        skips periods for every client. [test thread] */
    std::vector<jack_nframes_t> periods() const { return { periodStarts.begin(), periodStarts.begin() + periodCount.load() }; }

    jack_client_t* const client;

private:
    static int process (jack_nframes_t frames, void* self)
    {
        auto& me = *static_cast<KeyboardAndSynth*> (self);
        auto* out = jack_port_get_buffer (me.keys, frames);
        auto* in = jack_port_get_buffer (me.ears, frames);
        const auto start = jack_last_frame_time (me.client);

        if (const auto index = (size_t) me.periodCount.load(); index < me.periodStarts.size())
        {
            me.periodStarts[index] = start;
            me.periodCount.store ((int) index + 1);
        }
        jack_midi_clear_buffer (out);

        if (const auto count = me.toPlayCount.load(); count > 0)
        {
            for (int i = 0; i < count; ++i)
                jack_midi_event_write (out, std::min (me.toPlayOffset.load(), frames - 1), me.toPlay[(size_t) i].data(), 3);
            me.playedAt.store (start);
            me.toPlayCount.store (0);
        }

        jack_midi_event_t event {};

        for (uint32_t i = 0; i < jack_midi_get_event_count (in); ++i)
        {
            const auto index = (size_t) me.receivedCount.load();

            if (jack_midi_event_get (&event, in, i) == 0 && event.size == 3 && index < me.received.size())
            {
                me.received[index] = { start + event.time, { event.buffer[0], event.buffer[1], event.buffer[2] } };
                me.receivedCount.store ((int) index + 1);
            }
        }

        return 0;
    }

    jack_port_t *keys = nullptr, *ears = nullptr;
    std::array<std::array<unsigned char, 3>, 16> toPlay {};
    std::atomic<int> toPlayCount { 0 };
    std::atomic<jack_nframes_t> toPlayOffset { 0 };
    std::atomic<jack_nframes_t> playedAt { 0 };
    std::array<Message, 4096> received {};
    std::atomic<int> receivedCount { 0 };
    std::array<jack_nframes_t, 65536> periodStarts {};
    std::atomic<int> periodCount { 0 };
};

/** A JACK server of the test's own (dummy backend, 48 kHz, periods of 512 frames) and two
    clients of the test's on it: the keyboard, "test-keys", and the synth, "test-synth".
    Two, so that a player between them hears the keyboard and is heard in the same period
    (one client as both would close a loop, which JACK breaks with a period's delay). */
struct JackDummyServer
{
    explicit JackDummyServer (const juce::File& folder, const char* serverName)
        : log (folder.getChildFile ("jackd.log"))
    {
        // libjack reports every refused connection while the server starts.
        jack_set_error_function ([] (const char*) {});
        jack_set_info_function ([] (const char*) {});

        // A run that crashed leaves its entry in JACK's registry for the next one of the same name.
        setenv ("JACK_DEFAULT_SERVER", serverName, 1);
        server = std::make_unique<Child> (std::vector<std::string> { "/usr/bin/jackd", "--no-realtime", "-n", serverName, "-d", "dummy", "-r", "48000", "-p", "512" },
                                          "JACK_NO_AUDIO_RESERVATION=1", log);
        if (waitFor ([this] { return (keyboard = std::make_unique<KeyboardAndSynth> ("test-keys"))->client != nullptr; }, 10000))
            synth = std::make_unique<KeyboardAndSynth> ("test-synth");
    }

    ~JackDummyServer()
    {
        keyboard.reset();
        synth.reset();
    }

    static bool isInstalled() { return juce::File ("/usr/bin/jackd").existsAsFile(); }
    bool isRunning() const { return synth != nullptr && synth->client != nullptr; }

    const juce::File log;
    std::unique_ptr<Child> server;
    std::unique_ptr<KeyboardAndSynth> keyboard, synth;
};

} // namespace cadenzium::test
