#pragma once

#include <juce_core/juce_core.h>

/** What the standalone app takes from its command line:
      --tempo BPM          the clock's tempo (20 to 300, default 120)
      --jack-midi-in PORT  connect a JACK MIDI source to the app's input (repeatable)
      --jack-midi-out PORT connect the app's output to a JACK MIDI port (repeatable)
    Anything else is left to the framework. */
struct StandaloneOptions
{
    static constexpr double defaultTempo = 120.0;
    static constexpr double minimumTempo = 20.0;
    static constexpr double maximumTempo = 300.0;

    double tempo = defaultTempo;
    juce::StringArray jackMidiSources, jackMidiDestinations;

    /** Unknown or incomplete options are ignored; a tempo out of range is clamped. */
    static StandaloneOptions fromArguments (const juce::StringArray& arguments);
};
