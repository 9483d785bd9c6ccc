#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

struct _jack_client;
struct _jack_port;

/** The standalone app's own JACK MIDI ports, "midi_in" and "midi_out", on a client of their
    own, when a JACK server runs (none is started for them). Hosts of JACK MIDI, patchbays and
    synths see them like any other client's ports.

    JACK's process thread and the app's audio thread hand the messages over through two
    lock-free queues: what arrives in one JACK period reaches the processor at its next
    block, and what the processor sends reaches JACK at its next period, each at its offset
    within the block. Only short messages (notes, controllers and the like) travel. */
class JackMidiPorts
{
public:
    /** Opens the client and connects the ports named (full JACK port names). Without a
        server the object does nothing. [message thread] */
    JackMidiPorts (const juce::String& clientName, const juce::StringArray& sources, const juce::StringArray& destinations);
    ~JackMidiPorts();

    /** True while the client is open and the server runs. [any thread] */
    bool isActive() const noexcept { return active.load(); }

    /** The full names of the ports, e.g. "Cadenzium 2 MIDI:midi_in". [message thread] */
    juce::String getInputPortName() const;
    juce::String getOutputPortName() const;

    /** Adds what arrived since the last block to `midi`, each message at its offset within
        the JACK period, kept inside the block. [audio thread] */
    void takeInput (juce::MidiBuffer& midi, int numSamples) noexcept;

    /** Queues the block's short messages for JACK's next period. [audio thread] */
    void sendOutput (const juce::MidiBuffer& midi) noexcept;

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

    _jack_client* client = nullptr;
    _jack_port* input = nullptr;
    _jack_port* output = nullptr;
    std::atomic<bool> active { false };
    MessageQueue arrived, toSend;

    JUCE_DECLARE_NON_COPYABLE (JackMidiPorts)
};
