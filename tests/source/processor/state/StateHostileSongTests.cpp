#include "StateTestSupport.h"

#include <tarn/sequence/SequenceRenderer.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/support/HostileSongs.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** Plays from a sixteenth before the loop end of the longest phrase across it, where the next
    pass takes over, then stops the transport. Returns how many notes started. */
size_t playAcrossTheLoopEndAndStop (PluginHarness& harness)
{
    harness.playHead.ppq = HostileSongs::length / 960.0 - 0.25;
    const auto played = harness.blocks (48);
    harness.playHead.playing = false;
    harness.block();
    return PluginHarness::noteOns (played).size();
}

void expectPlaysWithinTheBudget (PluginHarness& harness, const HostileSongs::Song& song, const char* way)
{
    SCOPED_TRACE (std::string (song.name) + " through " + way);
    const auto& phrase = harness.processor.getPhrase (0);

    // The song keeps what it holds; only what one pass plays is bounded.
    EXPECT_EQ (phrase.notes.size(), song.phrase.notes.size());
    EXPECT_EQ (phrase.lanes.size(), song.phrase.lanes.size());

    tarn::RenderReport report;
    EXPECT_LE (tarn::renderSequence (phrase, &report).getNumEvents(), tarn::RenderBudget::maxMessages + 2);
    EXPECT_FALSE (report.isComplete());

    EXPECT_GT (playAcrossTheLoopEndAndStop (harness), 0u);
    EXPECT_EQ (harness.counter.sounding(), 0) << harness.counter.describeSounding();
}
} // namespace

TEST (StateHostileSongs, eachLoadsThroughTheHostStateAndPlaysWithinTheBudgetWithoutHangingNotes)
{
    for (const auto& song : HostileSongs::all())
    {
        PluginHarness harness;
        const auto chunk = HostileSongs::makeChunk (song.phrase);
        restore (harness.processor, chunk);
        expectPlaysWithinTheBudget (harness, song, "the host state");
    }
}

TEST (StateHostileSongs, eachLoadsThroughAPresetFileAndPlaysWithinTheBudgetWithoutHangingNotes)
{
    const auto userFolder = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName);
    const auto file = userFolder.getChildFile ("Hostile.bpre");
    userFolder.createDirectory();
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();

    for (const auto& song : HostileSongs::all())
    {
        ASSERT_TRUE (file.replaceWithText (HostileSongs::makePresetText (song.phrase)));
        PluginHarness harness;
        auto& presets = harness.processor.getPresetManager();
        const auto list = presets.getPresetList();
        const auto entry = std::find_if (list->begin(), list->end(), [&] (const tarn::PresetInfo& p) { return p.path == file.getFullPathName(); });
        ASSERT_NE (entry, list->end());
        ASSERT_TRUE (presets.loadPreset (entry->index));
        expectPlaysWithinTheBudget (harness, song, "a preset file");
    }

    file.deleteFile();
}
