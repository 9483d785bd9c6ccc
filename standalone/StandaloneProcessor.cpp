#include "StandaloneProcessor.h"

#include <thread>

namespace
{
// Which of the two audio threads a block comes from.
thread_local bool inJackPeriod = false;

void pushShortMessages (const juce::MidiBuffer& midi, JackMidiPorts::MessageQueue& queue) noexcept
{
    for (const auto metadata : midi)
    {
        if (metadata.numBytes < 1 || metadata.numBytes > 3)
            continue;

        JackMidiPorts::ShortMessage message { 0, metadata.numBytes, {} };
        std::copy_n (metadata.data, metadata.numBytes, message.bytes.begin());
        queue.push (message);
    }
}
} // namespace

StandaloneProcessor::StandaloneProcessor (const StandaloneOptions& options)
    : clock (options.tempo)
    , jack (juce::String (productName) + " MIDI", *this)
{
    // The framework's player only puts in a play head of its own (one without tempo or
    // position) when the processor has none.
    setPlayHead (&clock);

    if (jack.getSampleRate() > 0.0)
    {
        prepareToPlay (jack.getSampleRate(), jack.getBufferSize());
        jack.activate (options.jackMidiSources, options.jackMidiDestinations);
    }
}

StandaloneProcessor::~StandaloneProcessor()
{
    pauseJack();
    setPlayHead (nullptr);
}

void StandaloneProcessor::pauseJack() noexcept
{
    jackMayPlay.store (false);

    while (jackPlaying.load())
        std::this_thread::yield();
}

void StandaloneProcessor::resumeJack() noexcept
{
    jackMayPlay.store (jack.getSampleRate() > 0.0);
}

void StandaloneProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    if (jack.getSampleRate() <= 0.0)
        return Cadenzium2AudioProcessor::prepareToPlay (sampleRate, maximumExpectedSamplesPerBlock);

    pauseJack();
    Cadenzium2AudioProcessor::prepareToPlay (jack.getSampleRate(), std::max (maximumExpectedSamplesPerBlock, jack.getBufferSize()));
    resumeJack();
}

void StandaloneProcessor::playJackPeriod (juce::MidiBuffer& midi, int numFrames) noexcept
{
    jackPlaying.store (true);

    if (! jackMayPlay.load() || numFrames > maxJackPeriod)
    {
        jackPlaying.store (false);
        midi.clear();
        return;
    }

    // The devices' MIDI of the last device block comes in at the period's start.
    fromDevices.popAll ([&] (const JackMidiPorts::ShortMessage& message)
                        { midi.addEvent (message.bytes.data(), message.size, 0); });

    jackAudio.setSize (2, numFrames, false, false, true);
    jackAudio.clear();
    inJackPeriod = true;
    processBlock (jackAudio, midi);
    inJackPeriod = false;

    pushShortMessages (midi, toDevices);
    jackPlaying.store (false);
}

void StandaloneProcessor::processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    if (inJackPeriod || ! jack.isActive())
        return Cadenzium2AudioProcessor::processBlockInternal (audio, midi);

    // The device's block while JACK plays: its MIDI goes to the next period, and the last
    // periods' output goes out to the devices.
    pushShortMessages (midi, fromDevices);
    midi.clear();
    toDevices.popAll ([&] (const JackMidiPorts::ShortMessage& message)
                      { midi.addEvent (message.bytes.data(), message.size, 0); });
}
