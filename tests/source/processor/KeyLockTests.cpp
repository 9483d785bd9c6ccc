#include <source/processor/KeyLock.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// The pipeline tests cover a note ending where it started; this edge needs more stacked
// strikes under different keys than a phrase produces by chance.
TEST (KeyLock, everyStrikeEndsEvenWhenTheKeyChangesBetweenMoreStrikesThanItCanTell)
{
    KeyLock lock;
    NoteCounter counter;

    for (int root = 0; root < 12; ++root)
    {
        auto midi = bufferOf ({ on (66, 100, 0), on (66, 100, 1) });
        lock.setKey (KeySignature (root, *Scales::find ("Octaves")), true);
        lock.process (midi);
        counter.add (midi);
    }

    juce::MidiBuffer ends;
    for (int i = 0; i < 24; ++i)
        add (ends, off (66, i));

    lock.setKey (KeySignature(), true);
    lock.process (ends);
    counter.add (ends);
    EXPECT_EQ (counter.sounding(), 0);
}
