#include "MidiFileBuilder.h"

#include <source/render/CadenziumRenderer.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
using Rendered = CadenziumRenderer::RenderedMidi;
using M = CadenziumModifier;

struct FileNote
{
    int pitch, on, off, velocity;
    auto operator<=> (const FileNote&) const = default;
};

/** The notes of a rendered file as a MIDI reader sees them. Every note-on must have its
    note-off at or before `end`, the end of track. */
std::vector<FileNote> notesOf (const juce::MemoryBlock& bytes, double end)
{
    juce::MemoryInputStream stream (bytes, false);
    juce::MidiFile file;
    EXPECT_TRUE (file.readFrom (stream, false));
    EXPECT_EQ (file.getNumTracks(), 1);

    if (file.getNumTracks() != 1)
        return {};

    auto track = *file.getTrack (0);
    track.updateMatchedPairs();
    std::vector<FileNote> notes;

    for (int i = 0; i < track.getNumEvents(); ++i)
    {
        const auto& m = track.getEventPointer (i)->message;
        EXPECT_LE (m.getTimeStamp(), end);

        if (! m.isNoteOn())
            continue;

        const auto off = track.getIndexOfMatchingKeyUp (i);
        EXPECT_GE (off, 0) << "hanging note " << m.getNoteNumber() << " at " << m.getTimeStamp();

        if (off >= 0)
            notes.push_back ({ m.getNoteNumber(), (int) m.getTimeStamp(), (int) track.getEventTime (off), m.getVelocity() });
    }

    EXPECT_TRUE (track.getEventPointer (track.getNumEvents() - 1)->message.isEndOfTrackMetaEvent());
    EXPECT_EQ (track.getEndTime(), end);
    std::sort (notes.begin(), notes.end());
    return notes;
}

} // namespace

TEST (CadenziumRenderer, theRenderCoversThePhraseAfterTheLastChordAndNoSampleStartsAtItsEnd)
{
    // The known-phrase render below pins the length after the chords; here the edges.
    EXPECT_EQ (CadenziumRenderer::getRenderLength (960, 100.0).ticks, 3940.0) << "at least a bar";

    // The division comes out a hair above 441000 here; odd file resolutions give fractions.
    EXPECT_EQ (CadenziumRenderer::getRenderLength (3840, 15360.0).samples, 441000);

    for (double last : { 15360.0, 1234.5678, 960.0 * 1000.0 / 7.0, 3932160.0 })
    {
        const auto length = CadenziumRenderer::getRenderLength (983040, last);
        EXPECT_LT ((double) (length.samples - 1) * CadenziumRendererPlayhead::ticksPerSample, length.ticks) << last;
        EXPECT_GE ((double) length.samples * CadenziumRendererPlayhead::ticksPerSample, length.ticks - 1.0e-6) << last;
    }
}

TEST (CadenziumRenderer, aKnownPhraseOverAKnownProgressionGivesTheNotesItsRowsMake)
{
    TemporaryFolder folder;
    const std::vector<std::vector<int>> chords { { 64, 60, 67 }, { 65, 69, 72 } };
    // The file at 480 ticks per quarter note: the render still counts 960.
    const auto chordFile = writeChords (folder, chords, 480);

    Cadenzium2AudioProcessor processor;
    processor.getPhraseManager().setRows ({ makeRow (M::pitch, 0), makeRow (M::pitch, 1), makeRow (M::pitch, 16, 1, 0, -1) });
    const std::vector<PhraseNote> phrase { { 0, 0, 480, 100 }, { 1, 960, 480, 90 }, { 2, 1920, 960, 80 }, { 0, 2880, 240, 70 } };
    processor.getPhraseManager().setSequence (0, makePhrase (phrase), nullptr);

    Rendered rendered;
    ASSERT_TRUE (CadenziumRenderer::render (processor, 0, chordFile, rendered).wasOk());

    // Row 0 is the lowest held note, row 1 the next, row 2 the highest an octave down; the
    // phrase repeats each bar over that bar's chord, and the bar after the chords is silent.
    std::vector<FileNote> expected;

    for (int bar = 0; bar < (int) chords.size(); ++bar)
    {
        auto chord = chords[(size_t) bar];
        std::sort (chord.begin(), chord.end());
        const int rowPitch[] = { chord[0], chord[1], chord.back() - 12 };

        for (const auto& n : phrase)
            expected.push_back ({ rowPitch[n.row], bar * 3840 + n.tick, bar * 3840 + n.tick + n.length, n.velocity });
    }

    std::sort (expected.begin(), expected.end());
    EXPECT_EQ (notesOf (rendered.fileData, 3 * 3840), expected);
}

TEST (CadenziumRenderer, notesStillSoundingAtTheEndAreEndedThereInATypeOneFileAtNineHundredSixtyTicks)
{
    TemporaryFolder folder;
    const auto chordFile = writeChords (folder, { { 60, 64, 67 } });

    // The latch keeps the chord after its bar, so the phrase's bar-long note is sounding
    // when the render stops one bar later.
    Cadenzium2AudioProcessor processor;
    processor.setRawParameterValueNotifyingHost (ParameterIds::inputLatch, 1.0f);
    processor.getPhraseManager().setRows ({ makeRow (M::all) });
    processor.getPhraseManager().setSequence (0, makePhrase ({ { 0, 0, 3840, 100 } }), nullptr);

    Rendered rendered;
    ASSERT_TRUE (CadenziumRenderer::render (processor, 0, chordFile, rendered).wasOk());

    const auto* bytes = static_cast<const juce::uint8*> (rendered.fileData.getData());
    ASSERT_GT (rendered.fileData.getSize(), 18u);
    EXPECT_EQ (std::vector<juce::uint8> (bytes, bytes + 18),
               (std::vector<juce::uint8> { 'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 1, 0x03, 0xc0, 'M', 'T', 'r', 'k' }));

    const auto notes = notesOf (rendered.fileData, 2 * 3840);
    ASSERT_EQ (notes.size(), 6u);
    EXPECT_EQ (std::count_if (notes.begin(), notes.end(), [] (const FileNote& n)
                              { return n.on == 3840 && n.off == 2 * 3840; }),
               3)
        << "the second pass is ended by the render";
}
