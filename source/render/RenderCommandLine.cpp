#include "RenderCommandLine.h"

namespace RenderCommandLine
{
namespace
{
    std::optional<juce::int64> parseWhole (const juce::String& text)
    {
        const auto t = text.trim();

        if (t.isEmpty() || ! t.substring (t.startsWithChar ('-') ? 1 : 0).containsOnly ("0123456789") || t.length() > 19)
            return std::nullopt;

        return t.getLargeIntValue();
    }
} // namespace

Parsed parse (const juce::StringArray& arguments, const juce::File& workingFolder)
{
    Parsed result;
    auto& options = result.options;
    const auto fail = [&result] (const juce::String& message)
    {
        result.error = message;
        return result;
    };

    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        const auto takesValue = argument == "--preset" || argument == "--state" || argument == "--phrase"
                                || argument == "--seed" || argument == "-o" || argument == "--output";

        if (argument == "--help" || argument == "-h")
        {
            options.showHelp = true;
            return result;
        }

        if (takesValue && i + 1 >= arguments.size())
            return fail (argument + " needs a value");

        if (argument == "--preset")
            options.presetFile = workingFolder.getChildFile (arguments[++i]);
        else if (argument == "--state")
            options.stateFile = workingFolder.getChildFile (arguments[++i]);
        else if (argument == "-o" || argument == "--output")
            options.outputFile = workingFolder.getChildFile (arguments[++i]);
        else if (argument == "--phrase")
        {
            const auto n = parseWhole (arguments[++i]);

            if (! n.has_value() || *n < 1 || *n > 12)
                return fail ("--phrase takes a phrase number from 1 to 12");

            options.phrase = (int) *n - 1;
        }
        else if (argument == "--seed")
        {
            const auto n = parseWhole (arguments[++i]);

            if (! n.has_value())
                return fail ("--seed takes a whole number");

            options.seed = *n;
        }
        else if (argument.startsWith ("-") && argument.length() > 1)
            return fail ("unknown option " + argument);
        else if (options.chordFile == juce::File())
            options.chordFile = workingFolder.getChildFile (argument);
        else
            return fail ("only one chord progression file can be rendered at a time");
    }

    if (options.chordFile == juce::File())
        return fail ("no chord progression file given");

    if (options.presetFile != juce::File() && options.stateFile != juce::File())
        return fail ("--preset and --state cannot be used together");

    return result;
}

juce::String getHelpText()
{
    return "Usage: cadenzium-render CHORDS.mid [--preset FILE.bpre | --state FILE] [--phrase N]\n"
           "                        [--seed N] [-o OUT.mid]\n"
           "\n"
           "Plays a chord progression (a standard MIDI file) through Cadenzium 2, exactly as a host\n"
           "would, and writes everything the plug-in plays as a new MIDI file (type 1, 960 ticks per\n"
           "quarter note). The chord file's tempo does not matter: the render runs at 120 bpm in\n"
           "4/4 and keeps the file's musical timing.\n"
           "\n"
           "  CHORDS.mid         the chord progression; every note of every track is played in\n"
           "  --preset FILE      a Cadenzium 2 preset (.bpre) to render with\n"
           "  --state FILE       a plug-in state as a host saves it, or its XML text\n"
           "                     (without --preset or --state: the Initial Patch)\n"
           "  --phrase N         the phrase to play, 1 to 12 (default: the one the state plays)\n"
           "  --seed N           makes the render reproducible: the same input and seed give the\n"
           "                     same bytes (without it, every render draws afresh)\n"
           "  -o, --output FILE  where to write (default: next to CHORDS.mid, named\n"
           "                     \"<name> - Cadenzium.mid\", or the next free name like it)\n"
           "  -h, --help         this text\n"
           "\n"
           "Exit status: 0 when the file was written, 1 when the input could not be rendered,\n"
           "2 for a mistake on the command line.\n";
}

} // namespace RenderCommandLine
