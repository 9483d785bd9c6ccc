#include <source/processor/KeyswitchExtractor.h>
#include <source/processor/NotePassthrough.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** Bypass, keyswitch extraction and passthrough, in the order a block runs them. */
struct RawNotes
{
    InputNoteTable table;
    KeyswitchExtractor keyswitches { table };
    NotePassthrough passthrough { table };
    NoteCounter counter;

    bool bypassed = false;
    bool enabled = false;
    const KeySignature* lockKey = nullptr;

    void block (const std::vector<Event>& input)
    {
        auto midi = bufferOf (input);

        if (bypassed)
        {
            passthrough.passBypassed (midi);
            counter.count (midi);
            return;
        }

        KeyswitchEvents events;
        keyswitches.extract (midi, events);
        juce::MidiBuffer passed;
        passthrough.collect (midi, passed, enabled, lockKey);
        counter.count (passed);
    }
};
} // namespace

TEST (NotePassthrough, notesPressedOrReleasedDuringBypassEndAsTheSynthHeardThem)
{
    RawNotes raw;
    raw.bypassed = true;
    raw.block ({ on (60, 100, 0), on (26, 100, 0) });
    EXPECT_EQ (raw.counter.sounding(), 2);

    // 26 is a keyswitch key, but the synth heard it during bypass.
    raw.bypassed = false;
    raw.block ({ off (60, 0), off (26, 1) });
    EXPECT_EQ (raw.counter.sounding(), 0);

    // Passed through key-locked (66 as 67), released during bypass: 67 ends.
    const KeySignature cMajor;
    raw.enabled = true;
    raw.lockKey = &cMajor;
    raw.block ({ on (66, 100, 0) });
    EXPECT_EQ (raw.counter.get (1, 67), 1);
    raw.bypassed = true;
    raw.block ({ off (66, 3) });
    EXPECT_EQ (raw.counter.sounding(), 0);
}
