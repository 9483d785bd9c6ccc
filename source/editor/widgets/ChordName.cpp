#include "ChordName.h"

#include <algorithm>
#include <array>

namespace
{
struct ChordShape
{
    std::initializer_list<int> intervals;
    const char* suffix;
};

// At the bass first, then at each other held note upward: the first shape that fits names
// the chord, so C E G A over C is C6 and over A is Am7.
const std::array<ChordShape, 24> chordShapes { {
    { { 0, 4, 7 }, "" },
    { { 0, 3, 7 }, "m" },
    { { 0, 3, 6 }, "dim" },
    { { 0, 4, 8 }, "aug" },
    { { 0, 5, 7 }, "sus4" },
    { { 0, 2, 7 }, "sus2" },
    { { 0, 7 }, "5" },
    { { 0, 4, 7, 10 }, "7" },
    { { 0, 4, 7, 11 }, "maj7" },
    { { 0, 3, 7, 10 }, "m7" },
    { { 0, 3, 6, 10 }, "m7b5" },
    { { 0, 3, 6, 9 }, "dim7" },
    { { 0, 3, 7, 11 }, "mMaj7" },
    { { 0, 4, 7, 9 }, "6" },
    { { 0, 3, 7, 9 }, "m6" },
    { { 0, 5, 7, 10 }, "7sus4" },
    { { 0, 2, 4, 7 }, "add9" },
    { { 0, 2, 3, 7 }, "m(add9)" },
    { { 0, 2, 4, 7, 10 }, "9" },
    { { 0, 2, 4, 7, 11 }, "maj9" },
    { { 0, 2, 3, 7, 10 }, "m9" },
    { { 0, 4, 10 }, "7" },
    { { 0, 4, 11 }, "maj7" },
    { { 0, 3, 10 }, "m7" },
} };

juce::String pitchClassName (int pitchClass)
{
    return juce::MidiMessage::getMidiNoteName (pitchClass, true, false, 3);
}

int maskFrom (std::initializer_list<int> intervals, int root)
{
    int mask = 0;
    for (auto interval : intervals)
        mask |= 1 << ((root + interval) % 12);
    return mask;
}
} // namespace

juce::String ChordName::of (const std::vector<int>& notes)
{
    std::vector<int> sorted;
    for (auto note : notes)
        if (juce::isPositiveAndBelow (note, 128))
            sorted.push_back (note);

    if (sorted.empty())
        return {};

    std::sort (sorted.begin(), sorted.end());
    const auto bass = sorted.front() % 12;
    int held = 0;
    for (auto note : sorted)
        held |= 1 << (note % 12);

    if (held == 1 << bass)
        return pitchClassName (bass);

    // Each root the chord holds, the bass first, the rest upward from it.
    for (int step = 0; step < 12; ++step)
        if (const auto root = (bass + step) % 12; (held & (1 << root)) != 0)
            for (const auto& shape : chordShapes)
                if (maskFrom (shape.intervals, root) == held)
                    return pitchClassName (root) + shape.suffix + (root != bass ? "/" + pitchClassName (bass) : juce::String());

    juce::StringArray names;
    for (int step = 0; step < 12; ++step)
        if ((held & (1 << ((bass + step) % 12))) != 0)
            names.add (pitchClassName ((bass + step) % 12));
    return names.joinIntoString (" ");
}
