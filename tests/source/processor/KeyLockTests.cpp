#include <source/processor/KeyLock.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
const KeySignature cMajor;
const KeySignature dMajor (2, *Scales::find ("Major"));

std::vector<Event> run (KeyLock& lock, const std::vector<Event>& input, const KeySignature& key, bool lockOn = true)
{
    auto midi = bufferOf (input);
    lock.process (midi, key, lockOn);
    return eventsOf (midi);
}
} // namespace

TEST (KeyLock, aKeyChangeWhileANoteSoundsStillEndsTheLockedPitch)
{
    KeyLock lock;
    EXPECT_EQ (run (lock, { on (61, 100, 0) }, cMajor), (std::vector<Event> { on (62, 100, 0) }));

    // 61 is in D major, so the key of the moment would send this note-off to 61.
    EXPECT_EQ (run (lock, { off (61, 10) }, dMajor), (std::vector<Event> { off (62, 10) }));
    EXPECT_EQ (run (lock, { on (61, 100, 0), off (61, 5) }, dMajor), (std::vector<Event> { on (61, 100, 0), off (61, 5) }));
}

TEST (KeyLock, switchingTheLockOffStillEndsLockedNotesWhereTheyWent)
{
    KeyLock lock;
    run (lock, { on (66, 100, 0), on (66, 90, 1) }, cMajor);

    // Two strikes of one phrase note under different keys end in the order they began.
    run (lock, { on (66, 80, 2) }, dMajor);
    EXPECT_EQ (lock.getNumSounding(), 3);

    EXPECT_EQ (run (lock, { off (66, 0), off (66, 1), off (66, 2), on (61, 100, 3) }, cMajor, false),
               (std::vector<Event> { off (67, 0), off (67, 1), off (66, 2), on (61, 100, 3) }));
    EXPECT_EQ (lock.getNumSounding(), 1);
}

TEST (KeyLock, noteOffsGoFirstAtEqualTimesExceptBeforeTheirOwnNoteOn)
{
    KeyLock lock;
    run (lock, { on (60, 100, 0) }, cMajor);

    // The old 60 ends where the next 60 starts: its note-off must not cut the new note.
    EXPECT_EQ (run (lock, { on (60, 90, 8), cc (1, 5, 8), off (60, 8) }, cMajor),
               (std::vector<Event> { off (60, 8), on (60, 90, 8), cc (1, 5, 8) }));

    // A note that starts and ends on one sample keeps its order, or it would hang.
    EXPECT_EQ (run (lock, { on (64, 90, 3), off (64, 3) }, cMajor), (std::vector<Event> { on (64, 90, 3), off (64, 3) }));
    EXPECT_EQ (run (lock, { off (60, 20) }, cMajor), (std::vector<Event> { off (60, 20) }));
    EXPECT_EQ (lock.getNumSounding(), 0);
}

TEST (KeyLock, aNoteStartedWithTheLockOffEndsUnmovedAfterTheLockComesOn)
{
    KeyLock lock;
    EXPECT_EQ (run (lock, { on (61, 100, 0) }, cMajor, false), (std::vector<Event> { on (61, 100, 0) }));
    EXPECT_EQ (run (lock, { off (61, 4) }, cMajor, true), (std::vector<Event> { off (61, 4) }));
}

TEST (KeyLock, everyStrikeEndsEvenWhenTheKeyChangesBetweenMoreStrikesThanItCanTell)
{
    KeyLock lock;
    NoteCounter counter;
    const auto roots = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 };

    for (auto root : roots)
    {
        auto midi = bufferOf ({ on (66, 100, 0), on (66, 100, 1) });
        lock.process (midi, KeySignature (root, *Scales::find ("Octaves")), true);
        counter.count (midi);
    }

    auto ends = bufferOf ({ off (66, 0) });
    for (int i = 1; i < 24; ++i)
        add (ends, off (66, i));

    lock.process (ends, cMajor, true);
    counter.count (ends);
    EXPECT_EQ (counter.sounding(), 0);
}
