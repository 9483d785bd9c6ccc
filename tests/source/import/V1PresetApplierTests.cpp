#include "V1TestPresets.h"

#include <source/import/V1PresetApplier.h>
#include <tarn/sequence/SequenceRenderer.h>
#include <tarn/sequence/SequenceSerialisation.h>
#include <tests/source/processor/PluginHarness.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/support/HostileSongs.h>
#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
/** The parameters a host hears of, by identifier. */
struct HostSpy : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor* p, int index, float) override
    {
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (p->getParameters()[index]))
            heard.addIfNotAlreadyThere (withId->getParameterID());
    }

    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}

    juce::StringArray heard;
};

juce::File writeFile (const TemporaryFolder& folder, const juce::String& name, const juce::String& text)
{
    const auto file = juce::File (folder.string()).getChildFile (name);
    file.replaceWithText (text);
    return file;
}
} // namespace

TEST (V1PresetApplier, loadingAFileReplacesLanesPhrasesRowsAndFillTellsTheHostAndLeavesNothingToUndo)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    EditCommands (processor).newRow(); // a step of the song that was there before
    ASSERT_TRUE (phrases.canUndo());

    const TemporaryFolder folder;
    const auto file = writeFile (folder, "Old Song.bpre", v1::songPreset ("1,2,3,4,5,6,7,-1", { { 0, "0|10 48|90" }, { 7, "0|8192 96|0" } }, "0"));
    const auto expected = V1PresetParser::parseFile (file);
    ASSERT_TRUE (expected.valid);

    HostSpy host;
    processor.addListener (&host);
    ASSERT_TRUE (V1PresetApplier::loadFile (processor, file));
    processor.removeListener (&host);

    const auto& types = phrases.getControllerTypes();
    ASSERT_EQ (types.size(), 8u);
    EXPECT_EQ (types[0], (ControllerType { tarn::ControllerLane::controlChange, 1, 1, {} }));
    EXPECT_EQ (types[7], (ControllerType { tarn::ControllerLane::pitchBend, -1, 1, {} }));

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        EXPECT_TRUE (tarn::sequencesAreEqual (processor.getPhrase (slot), expected.phrases[(size_t) slot])) << "phrase " << slot;

    EXPECT_EQ (phrases.getRows(), expected.rows);
    EXPECT_EQ (processor.getIntParameterValue (ParameterIds::inputFill), 0);
    EXPECT_TRUE (host.heard.contains (ParameterIds::inputFill));
    EXPECT_TRUE (host.heard.contains (ParameterIds::internal)) << "the host must learn that the song changed";

    // Undo would otherwise remove the loaded preset's last row.
    EXPECT_FALSE (phrases.canUndo());
}

TEST (V1PresetApplier, aFileThatIsNotAV1PresetShowsTheErrorToastAndChangesNothing)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newRow();
    const auto before = stateOf (processor);

    const TemporaryFolder folder;
    const juce::File files[] = {
        writeFile (folder, "Seven Lanes.bpre", v1::invalidPreset()),
        writeFile (folder, "Current.bpre", processor.getPresetManager().createPresetElement ("", "", "")->toString()),
        juce::File (folder.string()).getChildFile ("Missing.bpre"),
        juce::File (folder.string()),
    };

    for (const auto& file : files)
        EXPECT_FALSE (V1PresetApplier::loadFile (processor, file)) << file.getFileName();

    // One toast that counts the four refusals: the same message again is merged into it.
    const auto toasts = processor.getToastManager().getToasts();
    const auto refusal = std::find_if (toasts.begin(), toasts.end(), [] (const auto& toast)
                                       { return toast.text == "ERROR: Not a valid Cadenzium v1 preset"; });
    ASSERT_NE (refusal, toasts.end());
    EXPECT_EQ (refusal->count, 4);
    EXPECT_EQ (std::count_if (toasts.begin(), toasts.end(), [&] (const auto& toast) { return toast.text == refusal->text; }), 1);
    EXPECT_EQ (stateOf (processor), before);
    EXPECT_TRUE (processor.getPhraseManager().canUndo()) << "the history of the song that stays";
}

TEST (V1PresetApplier, aRepeatedControllerKeepsOnlyItsFirstLaneAndTheSongReadsBackTheSame)
{
    // Lanes 2 (CC 1 again) and 4 (a second pitch wheel) repeat earlier keys.
    const auto preset = V1PresetParser::parse (v1::songPreset ("1,7,1,-1,-1,2,3,4",
                                                               { { 0, "0|10" }, { 2, "0|99" }, { 3, "0|8192" }, { 4, "0|0" }, { 5, "0|20" } }));
    ASSERT_TRUE (preset.valid);
    EXPECT_EQ (V1PresetApplier::lanesToKeep (preset), (std::vector<int> { 0, 1, 3, 5, 6, 7 }));

    Cadenzium2AudioProcessor processor;
    ASSERT_TRUE (V1PresetApplier::apply (processor, preset));

    const auto& types = processor.getPhraseManager().getControllerTypes();
    ASSERT_EQ (types.size(), 6u);
    EXPECT_EQ (types[2].type, tarn::ControllerLane::pitchBend);
    EXPECT_EQ (types[3].number, 2);

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto& lanes = processor.getPhrase (slot).lanes;
        ASSERT_EQ (lanes.size(), types.size());

        for (size_t i = 0; i < lanes.size(); ++i)
            EXPECT_TRUE (ControllerType::fromLane (lanes[i]).hasSameKeyAs (types[i]));
    }

    const auto& lanes = processor.getPhrase (0).lanes;
    ASSERT_EQ (lanes[0].points.size(), 1u);
    EXPECT_EQ (lanes[0].points[0].value, 10) << "the first CC 1 lane keeps its points";
    EXPECT_EQ (lanes[2].points[0].value, 0);
    EXPECT_EQ (lanes[3].points[0].value, 20);

    Cadenzium2AudioProcessor reader;
    restore (reader, stateOf (processor));
    EXPECT_EQ (reader.getPhraseManager().getControllerTypes(), types);

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        EXPECT_TRUE (tarn::sequencesAreEqual (reader.getPhrase (slot), processor.getPhrase (slot))) << "phrase " << slot;
}

TEST (V1PresetApplier, aPresetAtTheLongestPhraseLoadsWithinTheRenderBudgetAndPlaysWithoutHangingNotes)
{
    const TemporaryFolder folder;

    for (const auto& [numNotes, swingingLanes] : { std::pair (10000, false), std::pair (1, true) })
    {
        SCOPED_TRACE (juce::String (numNotes) + (swingingLanes ? " notes, swinging lanes" : " notes"));
        PluginHarness harness;
        const auto file = writeFile (folder, "long.bpre", HostileSongs::makeV1Text (numNotes, swingingLanes));
        ASSERT_TRUE (V1PresetApplier::loadFile (harness.processor, file));

        const auto& phrase = harness.processor.getPhrase (0);
        EXPECT_EQ ((int) phrase.notes.size(), numNotes);
        EXPECT_EQ (phrase.getLength(), tarn::Sequence::maxLength);

        tarn::RenderReport report;
        EXPECT_LE (tarn::renderSequence (phrase, &report).getNumEvents(), tarn::RenderBudget::maxMessages + 2);

        // Across the loop end with a chord held for the rows, then the transport stops.
        harness.block ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });
        EXPECT_FALSE (harness.playAcrossAndStop (tarn::Sequence::maxLength / 960.0).empty());
        EXPECT_EQ (harness.counter.sounding(), 0) << harness.counter.describeSounding();
    }
}
