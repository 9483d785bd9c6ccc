// Writes the example chord progressions shipped under resources/chords/.
// Deterministic: the same program always writes the same bytes.
//
//     make_chord_progressions <output folder>

#include <juce_audio_basics/juce_audio_basics.h>

#include <iostream>

namespace
{
struct Chord
{
    std::vector<int> pitches;
    double beats;
};

struct Progression
{
    const char* fileName;
    int numerator, denominator;
    std::vector<Chord> chords;
    int repeats;
};

juce::MemoryBlock writeProgression (const Progression& progression)
{
    constexpr int ticksPerQuarter = 960;
    juce::MidiMessageSequence track;
    track.addEvent (juce::MidiMessage::timeSignatureMetaEvent (progression.numerator, progression.denominator), 0);
    track.addEvent (juce::MidiMessage::tempoMetaEvent (500000), 0);

    double time = 0.0;

    for (int r = 0; r < progression.repeats; ++r)
    {
        for (const auto& chord : progression.chords)
        {
            const auto end = time + chord.beats * ticksPerQuarter;

            for (auto pitch : chord.pitches)
            {
                track.addEvent (juce::MidiMessage::noteOn (1, pitch, (juce::uint8) 96), time);
                track.addEvent (juce::MidiMessage::noteOff (1, pitch), end - 1);
            }

            time = end;
        }
    }

    track.sort();
    track.addEvent (juce::MidiMessage::endOfTrack(), time);

    juce::MidiFile file;
    file.setTicksPerQuarterNote (ticksPerQuarter);
    file.addTrack (track);

    juce::MemoryBlock bytes;
    juce::MemoryOutputStream out (bytes, false);
    file.writeTo (out, 1);
    out.flush();
    return bytes;
}

std::vector<Progression> progressions()
{
    // Pitches spelled as close voicings around middle C (60), the way a player holds them.
    return {
        { "Pop Four Chords.mid", 4, 4, { { { 60, 64, 67 }, 4 }, { { 59, 62, 67 }, 4 }, { { 57, 60, 64 }, 4 }, { { 57, 60, 65 }, 4 } }, 4 },
        { "Jazz Two Five One.mid", 4, 4, { { { 62, 65, 69, 72 }, 4 }, { { 59, 62, 65, 67 }, 4 }, { { 60, 64, 67, 71 }, 8 } }, 4 },
        { "Minor Blues.mid", 4, 4, { { { 57, 60, 64 }, 16 }, { { 62, 65, 69 }, 8 }, { { 57, 60, 64 }, 8 }, { { 64, 68, 71 }, 4 }, { { 62, 65, 69 }, 4 }, { { 57, 60, 64 }, 8 } }, 2 },
        { "Dorian Vamp.mid", 4, 4, { { { 62, 65, 69, 72 }, 8 }, { { 64, 67, 71, 74 }, 8 } }, 4 },
        { "Waltz in G.mid", 3, 4, { { { 55, 59, 62 }, 3 }, { { 55, 60, 64 }, 3 }, { { 54, 57, 62 }, 3 }, { { 55, 59, 62 }, 3 } }, 4 },
        { "Four Chords Per Bar.mid", 4, 4, { { { 60, 64, 67, 72 }, 1 }, { { 57, 60, 64, 69 }, 1 }, { { 53, 57, 60, 65 }, 1 }, { { 55, 59, 62, 67 }, 1 } }, 16 },
    };
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make_chord_progressions <output folder>\n";
        return 2;
    }

    const juce::File folder (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    folder.createDirectory();

    for (const auto& progression : progressions())
    {
        const auto target = folder.getChildFile (progression.fileName);

        const auto bytes = writeProgression (progression);

        if (! target.replaceWithData (bytes.getData(), bytes.getSize()))
        {
            std::cerr << "cannot write " << target.getFullPathName() << "\n";
            return 1;
        }

        std::cout << target.getFullPathName() << "\n";
    }

    return 0;
}
