#include "StateTestSupport.h"

#include <tarn/sequence/SequenceRenderer.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/HostileSongs.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (StateRestoreNotes, aStateSavedWhileNotesSoundLeavesNoNoteHangingWhenRestored)
{
    PluginHarness harness;
    auto& processor = harness.processor;
    EditCommands (processor).editPhrase (0, makePhrase ({ { 0, 0, 2400 } }));

    harness.block ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });
    harness.playUntilTick (200);
    ASSERT_EQ (harness.counter.sounding(), 1);

    // Saved mid-note; then the phrase and the rows change while the new phrase's note sounds.
    const auto savedMidNote = stateOf (processor);
    EditCommands (processor).editPhrase (0, makePhrase ({ { 2, 480, 2400 } }));
    auto rows = processor.getPhraseManager().getRows();
    rows[2].transpose = 12;
    EditCommands (processor).changeRow (2, rows[2]);
    harness.playUntilTick (800);
    ASSERT_EQ (harness.counter.sounding(), 1);

    // The restore ends what sounds; the restored phrase strikes again only in the next bar.
    restore (processor, savedMidNote);
    harness.playUntilTick (3700);
    EXPECT_EQ (harness.counter.sounding(), 0);

    harness.playUntilTick (4200);
    EXPECT_EQ (harness.counter.sounding(), 1);
}

TEST (StateHostileSongs, eachLoadsThroughTheHostStateAndAPresetFileAndPlaysWithinTheBudgetWithoutHangingNotes)
{
    const auto userFolder = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName);
    const auto file = userFolder.getChildFile ("Hostile.bpre");
    userFolder.createDirectory();
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();

    for (const auto& song : HostileSongs::all())
    {
        for (const bool throughAPreset : { false, true })
        {
            SCOPED_TRACE (std::string (song.name) + (throughAPreset ? " through a preset file" : " through the host state"));
            ASSERT_TRUE (file.replaceWithText (HostileSongs::makePresetText (song.phrase)));
            PluginHarness harness; // reads the preset list as it starts

            if (throughAPreset)
            {
                auto& presets = harness.processor.getPresetManager();
                const auto list = presets.getPresetList();
                const auto entry = std::find_if (list->begin(), list->end(), [&] (const tarn::PresetInfo& p)
                                                 { return p.path == file.getFullPathName(); });
                ASSERT_NE (entry, list->end());
                ASSERT_TRUE (presets.loadPreset (entry->index));
            }
            else
            {
                restore (harness.processor, HostileSongs::makeChunk (song.phrase));
            }

            // The song keeps what it holds; only what one pass plays is bounded.
            const auto& phrase = harness.processor.getPhrase (0);
            EXPECT_EQ (phrase.notes.size(), song.phrase.notes.size());
            EXPECT_EQ (phrase.lanes.size(), song.phrase.lanes.size());

            // Both ways read the same tree: one render shows the budget holds.
            if (! throughAPreset)
            {
                tarn::RenderReport report;
                EXPECT_LE (tarn::renderSequence (phrase, &report).getNumEvents(), tarn::RenderBudget::maxMessages + 2);
                EXPECT_FALSE (report.isComplete());
            }

            EXPECT_FALSE (harness.playAcrossAndStop (HostileSongs::length / 960.0).empty());
            EXPECT_EQ (harness.counter.sounding(), 0) << harness.counter.describeSounding();
        }
    }

    file.deleteFile();
}
