#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

TEST (PhraseManager, theProcessorStartsWithTwelvePlayablePhrasesCarryingPitchOffsets)
{
    Cadenzium2AudioProcessor processor;
    auto& phrases = processor.getPhraseManager();
    EXPECT_EQ (phrases.getNumSequences(), Cadenzium2AudioProcessor::numPhrases);
    EXPECT_TRUE (phrases.getCarryPitchOffset());
    EXPECT_EQ (processor.getPhrase (11).getLength(), tarn::Sequence().getLength());

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        EXPECT_TRUE (phrases.getPlayer().getPlayer (slot).hasRendering());

    processor.setNonRealtime (true);
    EXPECT_TRUE (phrases.isNonRealtime());
    processor.setNonRealtime (false);
    EXPECT_FALSE (phrases.isNonRealtime());
}

TEST (PhraseManager, appendingAddsAfterTheLastSlotAndReplacingKeepsTheCallersValue)
{
    PhraseManager phrases;
    tarn::Sequence first, second;
    second.name = "Second";

    phrases.setSequence (first, nullptr);
    phrases.setSequence (second, nullptr);
    ASSERT_EQ (phrases.getNumSequences(), 2);
    EXPECT_EQ (phrases.getSequence (1).name, "Second");

    phrases.setCarryPitchOffset (true);
    tarn::Sequence renamed;
    renamed.name = "Renamed";
    phrases.setSequence (0, renamed, nullptr);
    EXPECT_EQ (phrases.getSequence (0).name, "Renamed");
    EXPECT_TRUE (phrases.getSequence (0).carryPitchOffset);
    EXPECT_FALSE (renamed.carryPitchOffset);
}
