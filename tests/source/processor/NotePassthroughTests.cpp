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

TEST (NotePassthrough, aPassedNoteEndsEvenAfterPassthroughIsSwitchedOff)
{
    RawNotes raw;
    raw.enabled = true;
    raw.block ({ on (60, 100, 0) });
    EXPECT_EQ (raw.counter.get (1, 60), 1);

    raw.enabled = false;
    raw.block ({ off (60, 0) });
    EXPECT_EQ (raw.counter.sounding(), 0);
}

TEST (NotePassthrough, aKeyLockedNoteEndsWhereItWentAfterTheLockIsSwitchedOff)
{
    RawNotes raw;
    const KeySignature cMajor;
    raw.enabled = true;
    raw.lockKey = &cMajor;
    raw.block ({ on (61, 100, 0) });
    EXPECT_EQ (raw.counter.get (1, 62), 1);

    raw.lockKey = nullptr;
    raw.block ({ off (61, 0) });
    EXPECT_EQ (raw.counter.sounding(), 0);
}

TEST (NotePassthrough, notesPressedDuringBypassEndAfterIt)
{
    RawNotes raw;
    raw.bypassed = true;
    raw.block ({ on (60, 100, 0), on (26, 100, 0) });
    EXPECT_EQ (raw.counter.sounding(), 2);

    // 26 is a keyswitch key, but the synth heard it during bypass.
    raw.bypassed = false;
    raw.block ({ off (60, 0), off (26, 1) });
    EXPECT_EQ (raw.counter.sounding(), 0);
}

TEST (NotePassthrough, aKeyReleasedDuringBypassEndsTheNoteItWasPassedAs)
{
    RawNotes raw;
    const KeySignature cMajor;
    raw.enabled = true;
    raw.lockKey = &cMajor;
    raw.block ({ on (66, 100, 0) });

    raw.bypassed = true;
    raw.block ({ off (66, 3) });
    EXPECT_EQ (raw.counter.sounding(), 0);
}
