#include "PlaybackTestSupport.h"

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
struct ChangeRecorder : AdvancedSequenceManager::Listener
{
    void sequenceManagerChanged (int slot, void* source) override { changes.push_back ({ slot, source }); }
    std::vector<std::pair<int, void*>> changes;
};
} // namespace

TEST (AdvancedSequenceManager, storesSlotsInOrderAndSkipsUnchangedPhrases)
{
    AdvancedSequenceManager manager;
    ChangeRecorder recorder;
    manager.addListener (&recorder);
    int source = 0;
    const auto phrase = makeSequence ({ makeNote (60, 0, 240) });
    manager.setSequence (1, phrase, &source); // nothing stored yet: slot 1 would be appended as slot 0
    manager.setSequence (-1, phrase, &source);
    EXPECT_EQ (manager.getNumSequences(), 0);
    manager.setSequence (0, Sequence(), &source);
    manager.setSequence (1, phrase, &source);
    manager.setSequence (1, phrase, &source); // unchanged: no rendering, no notification
    EXPECT_EQ (std::tuple (manager.getNumSequences(), manager.getSequence (0).notes.size(), manager.getSequence (1).notes.size()), std::tuple (2, (size_t) 0, (size_t) 1));
    ASSERT_EQ (recorder.changes.size(), 2u);
    EXPECT_EQ (recorder.changes[1], (std::pair<int, void*> { 1, &source }));
    EXPECT_TRUE (manager.getPlayer().getPlayer (1).hasRendering() && manager.getPlayer().getPlayer (1).hasPendingRendering());
    manager.setCarryPitchOffset (true);
    auto edited = phrase;
    edited.notes[0].velocityMax = 90;
    manager.setSequence (1, edited, nullptr);
    EXPECT_TRUE (manager.getSequence (1).carryPitchOffset);
    manager.announceCurrentSlot();
    EXPECT_EQ (recorder.changes.back(), (std::pair<int, void*> { 0, nullptr }));
    manager.removeListener (&recorder);
}

TEST (MidiMessageSequencePlayer, aPendingPassOfAnotherContentOrLengthIsDropped)
{
    MidiMessageSequencePlayer player;
    const auto phrase = makeSequence ({ makeNote (60, 0, 240) });
    player.loadFull (prepareRendering (phrase, 1, 5));
    player.loadPending (prepareRendering (phrase, 2, 4)); // rendered before the phrase was replaced
    EXPECT_FALSE (player.hasPendingRendering());
    player.loadPending (prepareRendering (makeSequence ({ makeNote (60, 0, 240) }, 1920), 2, 5));
    EXPECT_FALSE (player.hasPendingRendering());
    player.loadPending (prepareRendering (phrase, 2, 5));
    EXPECT_TRUE (player.hasPendingRendering());

    // Replaced again before a block took either: the block drops that pass, asks for a pass
    // of the phrase it now plays, and leaves the old renderings to be freed elsewhere.
    player.loadFull (prepareRendering (phrase, 3, 6));
    juce::MidiBuffer output;
    const auto result = player.playBlock (output, 64, BlockPosition::playing (0.0, 120.0));
    EXPECT_TRUE (result.needsNextPass && result.retiredRenderings);
    EXPECT_FALSE (player.hasPendingRendering());
    EXPECT_TRUE (player.loadPending (prepareRendering (phrase, 4, 6)));
}

