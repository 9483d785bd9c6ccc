#include <source/processor/HeldNoteList.h>
#include <tarn/processor/NoteLatcher.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** The latcher feeding the held-note list, as a block does. */
struct LatchedChord
{
    tarn::NoteLatcher latcher;
    HeldNoteList held;
    juce::AudioBuffer<float> noAudio;

    void play (const std::vector<Event>& input)
    {
        auto midi = bufferOf (input);
        latcher.processBlock (noAudio, midi);
        held.update (midi);
    }

    std::vector<int> notes() const
    {
        std::vector<int> result;
        for (const auto& n : held.getNotes())
            result.push_back (n.note);
        return result;
    }
};
} // namespace

TEST (LatchedChord, aKeyReleasedWhileTheLatchIsOffDoesNotFreezeTheChord)
{
    LatchedChord chord;
    chord.latcher.setLatchActive (true);
    chord.play ({ on (48, 100, 0) });

    chord.latcher.setLatchActive (false);
    chord.play ({ off (48, 0) });

    chord.latcher.setLatchActive (true);
    chord.play ({ on (52, 100, 0) });
    chord.play ({ off (52, 0) });
    chord.play ({ on (55, 100, 0) });
    EXPECT_EQ (chord.notes(), std::vector<int> { 55 });
}
