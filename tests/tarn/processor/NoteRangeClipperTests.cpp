#include "MidiTestHelpers.h"

#include <tarn/processor/NoteRangeClipper.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

// The range's bounds through the whole plug-in are checked by the pipeline tests.
TEST (NoteRangeClipper, narrowingTheRangeStillEndsNotesThatSoundOnEveryChannel)
{
    tarn::NoteRangeClipper clipper;
    juce::AudioBuffer<float> noAudio;
    clipper.setRange (0, 127);
    auto start = bufferOf ({ on (60, 100, 0), on (60, 100, 1, 2), cc (7, 100, 2) });
    clipper.processBlock (noAudio, start);
    ASSERT_EQ (eventsOf (start).size(), 3u);
    clipper.setRange (72, 127);
    auto end = bufferOf ({ off (60, 0), on (60, 100, 1), off (60, 2), off (60, 3, 2) });
    clipper.processBlock (noAudio, end);
    EXPECT_EQ (eventsOf (end), (std::vector<Event> { off (60, 0), off (60, 3, 2) }));
    clipper.setRange (60, 20);
    EXPECT_EQ (clipper.getHigh(), 60);
}
