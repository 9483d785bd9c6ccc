#include "MidiTestHelpers.h"

#include <tarn/processor/NoteRangeClipper.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
juce::AudioBuffer<float> noAudio;
}

TEST (NoteRangeClipper, keepsNotesFromLowUpToButExcludingHigh)
{
    tarn::NoteRangeClipper clipper;
    clipper.setRange (36, 48);

    juce::MidiBuffer midi;
    for (int note = 30; note < 54; ++note)
        add (midi, on (note, 100, note));
    add (midi, cc (7, 100, 60));

    clipper.processBlock (noAudio, midi);

    std::vector<int> passed;
    for (const auto& e : eventsOf (midi))
        if (e.isNoteOn())
            passed.push_back (e.data1);

    ASSERT_EQ (passed.size(), 12u);
    EXPECT_EQ (passed.front(), 36);
    EXPECT_EQ (passed.back(), 47);
    EXPECT_EQ (eventsOf (midi).back(), cc (7, 100, 60));

    clipper.setRange (60, 20);
    EXPECT_EQ (clipper.getHigh(), 60);
}

TEST (NoteRangeClipper, narrowingTheRangeStillEndsNotesThatSound)
{
    tarn::NoteRangeClipper clipper;
    clipper.setRange (0, 127);

    auto start = bufferOf ({ on (60, 100, 0), on (60, 100, 1, 2) });
    clipper.processBlock (noAudio, start);
    ASSERT_EQ (eventsOf (start).size(), 2u);

    clipper.setRange (72, 127);
    auto end = bufferOf ({ off (60, 0), on (60, 100, 1), off (60, 2), off (60, 3, 2) });
    clipper.processBlock (noAudio, end);

    // Both sounding notes get their note-off; the new out-of-range note is not started.
    EXPECT_EQ (eventsOf (end), (std::vector<Event> { off (60, 0), off (60, 3, 2) }));
}
