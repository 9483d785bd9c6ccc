#include "StandaloneOptions.h"

StandaloneOptions StandaloneOptions::fromArguments (const juce::StringArray& arguments)
{
    StandaloneOptions options;

    for (int i = 0; i < arguments.size(); ++i)
    {
        // Both "--tempo 96" and "--tempo=96".
        auto name = arguments[i].upToFirstOccurrenceOf ("=", false, false);
        juce::String value;

        if (arguments[i].containsChar ('='))
            value = arguments[i].fromFirstOccurrenceOf ("=", false, false);
        else if (i + 1 < arguments.size() && (name == "--tempo" || name == "--jack-midi-in" || name == "--jack-midi-out"))
            value = arguments[++i];

        if (value.isEmpty())
            continue;

        if (name == "--tempo")
        {
            if (const auto bpm = value.getDoubleValue(); bpm > 0.0)
                options.tempo = juce::jlimit (minimumTempo, maximumTempo, bpm);
        }
        else if (name == "--jack-midi-in")
        {
            options.jackMidiSources.add (value);
        }
        else if (name == "--jack-midi-out")
        {
            options.jackMidiDestinations.add (value);
        }
    }

    return options;
}
