#pragma once

#include "JackMidiPorts.h"
#include "StandaloneClock.h"
#include "StandaloneOptions.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

/** The product as the standalone app runs it, with the app's clock as the play head, so the
    phrases play on the internal clock at the app's tempo.

    With a JACK server, it plays in its JACK client's periods: the MIDI that arrives at
    midi_in is played in the period it arrives in and the notes leave by midi_out at their
    frames, as in a plug-in host. The framework's audio device then only carries MIDI of the
    devices chosen in the app's settings (ALSA) to and from those periods. Without JACK, the
    device's callback plays, as in the framework's own app. */
class StandaloneProcessor final : public Cadenzium2AudioProcessor
    , private JackMidiPorts::Player
{
public:
    /** The JACK client is named after the product with " MIDI" added. [message thread] */
    explicit StandaloneProcessor (const StandaloneOptions& options);
    ~StandaloneProcessor() override;

    /** While JACK plays, at JACK's sample rate, whatever the device's. [message thread] */
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;

    /** [audio thread: JACK's, or the device's] */
    void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;

    const JackMidiPorts& getJackMidiPorts() const noexcept { return jack; }
    const StandaloneClock& getClock() const noexcept { return clock; }

    /** The most frames one JACK period may have for the app to play it. */
    static constexpr int maxJackPeriod = 16384;

private:
    void playJackPeriod (juce::MidiBuffer& midi, int numFrames) noexcept override;

    /** Between the two, JACK's periods pass without playing. [message thread] */
    void pauseJack() noexcept;
    void resumeJack() noexcept;

    StandaloneClock clock;
    juce::AudioBuffer<float> jackAudio { 2, maxJackPeriod }; // silence: the app makes no sound
    std::atomic<bool> jackMayPlay { false }, jackPlaying { false };
    JackMidiPorts::MessageQueue fromDevices, toDevices;

    // Last, so that its periods end before anything they use goes.
    JackMidiPorts jack;
};
