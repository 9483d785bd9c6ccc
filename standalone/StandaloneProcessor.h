#pragma once

#include "JackMidiPorts.h"
#include "StandaloneClock.h"
#include "StandaloneOptions.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

/** The product as the standalone app runs it: MIDI from the framework's devices (ALSA) and
    from its own JACK MIDI ports, output to both, and the app's clock as the play head, so
    the phrases play on the internal clock at the app's tempo. */
class StandaloneProcessor final : public Cadenzium2AudioProcessor
{
public:
    /** The JACK client is named after the product with " MIDI" added. [message thread] */
    explicit StandaloneProcessor (const StandaloneOptions& options);
    ~StandaloneProcessor() override;

    /** [audio thread] */
    void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) override;

    const JackMidiPorts& getJackMidiPorts() const noexcept { return jack; }
    const StandaloneClock& getClock() const noexcept { return clock; }

private:
    StandaloneClock clock;
    JackMidiPorts jack;
};
