#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>
#include <optional>

struct _jack_client;
struct _jack_port;

/** The standalone app's JACK client, when a JACK server runs (none is started for it): the
    MIDI ports "midi_in" and "midi_out", and the app's playing. In each JACK period the
    player gets what arrived at midi_in at its frames and what it returns leaves by midi_out
    in the same period, at its frames: exactly as a plug-in host's block would.

    Patchbays, keyboards and synths see the ports like any other client's. */
class JackMidiPorts
{
public:
    /** What plays in every JACK period. */
    class Player
    {
    public:
        virtual ~Player() = default;

        /** `midi` holds the period's input at its frames, and is to hold the output. Called
            only between activate() and the end. [JACK's process thread] */
        virtual void playJackPeriod (juce::MidiBuffer& midi, int numFrames) noexcept = 0;
    };

    /** Opens the client with its ports; nothing plays until activate(). Without a server the
        object does nothing. [message thread] */
    JackMidiPorts (const juce::String& clientName, Player& player);
    ~JackMidiPorts();

    /** Starts the periods, then connects the ports named (full JACK port names). [message thread] */
    void activate (const juce::StringArray& sources, const juce::StringArray& destinations);

    /** True while the client is open, activated and the server runs. [any thread] */
    bool isActive() const noexcept { return active.load(); }

    /** The server's sample rate and period, 0 without a client. [any thread] */
    double getSampleRate() const noexcept { return sampleRate; }
    int getBufferSize() const noexcept;

    /** The JACK frame at which the first period the player played began. [any thread] */
    std::optional<juce::uint32> getFirstPlayedFrame() const noexcept;

    /** Where the first period began that JACK let pass without the player (an overloaded
        machine, a server that fell behind), and how many frames passed so in all; from
        then on the app's clock lags JACK's by that much. [any thread] */
    std::optional<juce::uint32> getFirstMissedFrame() const noexcept;
    juce::int64 getMissedFrames() const noexcept { return missedFrames.load(); }

    /** The full names of the ports, e.g. "Cadenzium 2 MIDI:midi_in". [message thread] */
    juce::String getInputPortName() const;
    juce::String getOutputPortName() const;

    /** The most that one period's MIDI may hold; more is dropped. */
    static constexpr int maxMidiBytesPerPeriod = 32768;

    /** A three-byte (or shorter) message at a sample offset. */
    struct ShortMessage
    {
        int offset = 0;
        int size = 0;
        std::array<juce::uint8, 3> bytes {};
    };

    /** A single-reader, single-writer queue of short messages that never allocates or locks:
        full, it drops what comes. */
    class MessageQueue
    {
    public:
        bool push (const ShortMessage& message) noexcept;

        template <typename Fn>
        void popAll (Fn&& use) noexcept
        {
            const auto scope = fifo.read (fifo.getNumReady());

            for (int i = scope.startIndex1; i < scope.startIndex1 + scope.blockSize1; ++i)
                use (slots[(size_t) i]);

            for (int i = scope.startIndex2; i < scope.startIndex2 + scope.blockSize2; ++i)
                use (slots[(size_t) i]);
        }

    private:
        static constexpr int capacity = 2048;
        juce::AbstractFifo fifo { capacity };
        std::array<ShortMessage, capacity> slots {};
    };

private:
    static int processCallback (unsigned int numFrames, void* self);
    static void shutdownCallback (void* self);
    int process (unsigned int numFrames) noexcept;

    Player& player;
    _jack_client* client = nullptr;
    _jack_port* input = nullptr;
    _jack_port* output = nullptr;
    double sampleRate = 0.0;
    std::atomic<bool> active { false };
    std::atomic<juce::int64> firstPlayedFrame { -1 }, firstMissedFrame { -1 }, missedFrames { 0 };
    juce::int64 nextFrame = -1; // [JACK's process thread]
    juce::MidiBuffer midi; // [JACK's process thread], sized once

    JUCE_DECLARE_NON_COPYABLE (JackMidiPorts)
};
