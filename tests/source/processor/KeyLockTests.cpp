#include <source/processor/KeyLock.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
const KeySignature cMajor;
const KeySignature dMajor (2, *Scales::find ("Major"));
using Events = std::vector<Event>;

Events run (KeyLock& lock, const Events& input, const KeySignature& key, bool lockOn = true)
{
    auto midi = bufferOf (input);
    lock.process (midi, key, lockOn);
    return eventsOf (midi);
}
} // namespace

TEST (KeyLock, aNoteEndsWhereItStartedWhateverTheKeyOrTheSwitchDidMeanwhile)
{
    KeyLock lock;
    EXPECT_EQ (run (lock, { on (61, 100, 0) }, cMajor), (Events { on (62, 100, 0) }));

    // 61 is in D major, so the key of the moment would send this note-off to 61.
    EXPECT_EQ (run (lock, { off (61, 10) }, dMajor), (Events { off (62, 10) }));
    EXPECT_EQ (run (lock, { on (61, 100, 0), off (61, 5) }, dMajor), (Events { on (61, 100, 0), off (61, 5) }));

    // Started with the lock off, ended with it on: unmoved.
    EXPECT_EQ (run (lock, { on (61, 100, 0) }, cMajor, false), (Events { on (61, 100, 0) }));
    EXPECT_EQ (run (lock, { off (61, 4) }, cMajor, true), (Events { off (61, 4) }));

    // Locked strikes of one phrase note under different keys end, after the lock is switched
    // off, in the order they began.
    run (lock, { on (66, 100, 0), on (66, 90, 1) }, cMajor);
    run (lock, { on (66, 80, 2) }, dMajor);
    EXPECT_EQ (lock.getNumSounding(), 3);
    EXPECT_EQ (run (lock, { off (66, 0), off (66, 1), off (66, 2), on (61, 100, 3) }, cMajor, false),
               (Events { off (67, 0), off (67, 1), off (66, 2), on (61, 100, 3) }));
    EXPECT_EQ (lock.getNumSounding(), 1);
}

TEST (KeyLock, noteOffsGoFirstAtEqualTimesExceptBeforeTheirOwnNoteOn)
{
    KeyLock lock;
    run (lock, { on (60, 100, 0) }, cMajor);

    // The old 60 ends where the next 60 starts: its note-off must not cut the new note.
    EXPECT_EQ (run (lock, { on (60, 90, 8), cc (1, 5, 8), off (60, 8) }, cMajor), (Events { off (60, 8), on (60, 90, 8), cc (1, 5, 8) }));

    // A note that starts and ends on one sample keeps its order, or it would hang.
    EXPECT_EQ (run (lock, { on (64, 90, 3), off (64, 3) }, cMajor), (Events { on (64, 90, 3), off (64, 3) }));
    EXPECT_EQ (run (lock, { off (60, 20) }, cMajor), (Events { off (60, 20) }));
    EXPECT_EQ (lock.getNumSounding(), 0);
}

TEST (KeyLock, everyStrikeEndsEvenWhenTheKeyChangesBetweenMoreStrikesThanItCanTell)
{
    KeyLock lock;
    NoteCounter counter;

    for (int root = 0; root < 12; ++root)
    {
        auto midi = bufferOf ({ on (66, 100, 0), on (66, 100, 1) });
        lock.process (midi, KeySignature (root, *Scales::find ("Octaves")), true);
        counter.count (midi);
    }

    juce::MidiBuffer ends;
    for (int i = 0; i < 24; ++i)
        add (ends, off (66, i));

    lock.process (ends, cMajor, true);
    counter.count (ends);
    EXPECT_EQ (counter.sounding(), 0);
}
