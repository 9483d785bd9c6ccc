#include <source/commands/EditCommands.h>
#include <source/commands/RowRenumbering.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/RandomSource.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/source/render/MidiFileBuilder.h>
#include <tests/support/TestSeed.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
class EditCommandTest : public ::testing::Test
{
protected:
    EditCommandTest()
    {
        // Five rows; every phrase has a note on each row (a different rhythm per phrase) and
        // a loop region on rows 1 and 3.
        RowList rows (5);
        for (int i = 0; i < 5; ++i)
            rows[(size_t) i].value = i;
        phrases.setRows (rows);

        for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        {
            auto phrase = phrases.getSequence (slot);
            phrase.notes.clear();

            for (int row = 0; row < 5; ++row)
                phrase.notes.push_back (makeNote (row, (row * 480 + slot * 120) % 3840, 120));

            phrase.loops[1] = { 0, 480 + slot };
            phrase.loops[3] = { 960, 1920 };
            phrase.normalise();
            phrases.setSequence (slot, phrase, nullptr);
        }

        phrases.clearUndoHistory();
    }

    ~EditCommandTest() override { tarn::RandomSource::clearFixedSeed(); }

    /** The row of the note that phrase slot's fixture gave row `row`. */
    int rowNow (int slot, int row) const
    {
        for (const auto& note : processor.getPhrase (slot).notes)
            if (note.timestamp == (row * 480 + slot * 120) % 3840)
                return note.number;
        return -1;
    }

    Cadenzium2AudioProcessor processor;
    PhraseManager& phrases = processor.getPhraseManager();
    EditCommands commands { processor };
};
} // namespace

TEST_F (EditCommandTest, deletingARowRenumbersEveryPhraseAndItsLoopsAndOneUndoRestoresEverything)
{
    const auto rowsBefore = phrases.getRows();
    const auto before = stateOf (processor);

    ASSERT_TRUE (commands.deleteRow (2));
    EXPECT_EQ (phrases.getRows()[2], rowsBefore[3]);

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto& phrase = processor.getPhrase (slot);
        EXPECT_EQ (phrase.notes.size(), 4u);
        EXPECT_EQ (std::pair (rowNow (slot, 3), rowNow (slot, 4)), std::pair (2, 3)) << "rows 3 and 4 became 2 and 3";
        EXPECT_EQ (phrase.loops[2], (tarn::RowLoop { 960, 1920 })) << "row 3's loop moved with it";
        EXPECT_EQ (phrase.loops[1], (tarn::RowLoop { 0, 480 + slot }));
        EXPECT_FALSE (phrase.loops[3].isSet());
    }

    ASSERT_TRUE (phrases.undo());
    EXPECT_EQ (stateOf (processor), before);

    EXPECT_FALSE (commands.moveRow (2, 2));
    EXPECT_FALSE (commands.moveRow (0, 5));
    EXPECT_FALSE (commands.deleteRow (5));
    EXPECT_FALSE (phrases.canUndo());
}

TEST (RowRenumbering, movingARowThereAndBackGivesThePhraseBack)
{
    const auto seed = testSeed (7);
    SCOPED_TRACE ("seed " + juce::String (seed).toStdString());
    juce::Random random (seed);

    for (int round = 0; round < 200; ++round)
    {
        const auto phrase = makeRandomSequence (random);
        const auto from = random.nextInt (128), to = random.nextInt (128);
        const auto moved = RowRenumbering::withRowMoved (phrase, from, to);

        ASSERT_EQ (moved.notes.size(), phrase.notes.size());
        ASSERT_EQ (moved.loops[(size_t) to], phrase.loops[(size_t) from]);
        ASSERT_TRUE (tarn::sequencesAreEqual (RowRenumbering::withRowMoved (moved, to, from), phrase)) << from << " -> " << to;
    }
}

TEST_F (EditCommandTest, controllerLanesReachEveryPhraseAndAKeyAnotherLaneHasIsRefused)
{
    const ControllerType mod { tarn::ControllerLane::controlChange, 1, 1, {} };
    const ControllerType bend { tarn::ControllerLane::pitchBend, -1, 1, {} };
    ASSERT_TRUE (commands.newController (mod));
    ASSERT_TRUE (commands.newController (bend));

    // Points drawn on the mod lane of phrase 4, and its generation settings.
    auto drawn = processor.getPhrase (4);
    drawn.lanes[0].points = { { 0, 20, 0.5f, 0 }, { 1920, 120, 0.5f, 1 } };
    commands.editPhrase (4, drawn);
    processor.setControllerGenerationSetting (0, "enable", true);
    const auto afterDrawing = stateOf (processor);

    // A second lane on a key another lane has would take over its points: refused.
    EXPECT_FALSE (commands.newController ({ tarn::ControllerLane::controlChange, 1, 1, "Again" }));
    EXPECT_FALSE (commands.changeController (1, mod));
    EXPECT_FALSE (commands.changeController (0, mod)) << "the same type, number, channel and name";
    EXPECT_EQ (stateOf (processor), afterDrawing);

    // Retyping the mod lane to CC 11 keeps its points and its generation settings.
    ASSERT_TRUE (commands.changeController (0, { tarn::ControllerLane::controlChange, 11, 1, "Expression" }));
    EXPECT_EQ (std::pair (processor.getPhrase (4).lanes[0].number, processor.getPhrase (7).lanes[0].name), std::pair (11, juce::String ("Expression")));
    EXPECT_EQ (processor.getPhrase (4).lanes[0].points, drawn.lanes[0].points);
    const auto retyped = processor.getControllerGenerationSettings().getChild (0);
    EXPECT_TRUE ((bool) retyped["enable"] && (int) retyped["number"] == 11);

    // Deleting it takes the lane out of every phrase.
    ASSERT_TRUE (commands.deleteController (0));
    EXPECT_EQ (phrases.getControllerTypes(), (ControllerTypeList { bend }));

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        ASSERT_EQ (processor.getPhrase (slot).lanes.size(), 1u);

    // Deleting a phrase empties it but keeps the song's lanes.
    ASSERT_TRUE (commands.deletePhrase (5));
    ASSERT_EQ (processor.getPhrase (5).lanes.size(), 1u);
    EXPECT_EQ (processor.getPhrase (5).lanes[0].type, tarn::ControllerLane::pitchBend);
}

TEST_F (EditCommandTest, commandsThatChangeNothingOrReachPastAnEdgeLeaveNoHistoryEntry)
{
    EXPECT_FALSE (commands.editPhrase (0, processor.getPhrase (0)));
    EXPECT_FALSE (commands.renamePhrase (0, processor.getPhrase (0).name));
    EXPECT_FALSE (commands.renamePhrase (12, "No such slot"));
    EXPECT_FALSE (commands.copyPhraseTo (3, 3));
    EXPECT_FALSE (commands.movePhrase (0, -1));
    EXPECT_FALSE (commands.movePhrase (11, +1));
    EXPECT_FALSE (commands.changeRow (1, phrases.getRows()[1]));
    EXPECT_FALSE (commands.setRowMuted (1, false));
    EXPECT_FALSE (commands.setRowMuted (99, true));
    EXPECT_FALSE (commands.setPhraseLoopCount (2, -1));
    EXPECT_FALSE (commands.newRows (0));
    EXPECT_FALSE (commands.commitMutation (0, { processor.getPhrase (0), false }));
    EXPECT_FALSE (phrases.canUndo());

    // Every row locked: generation changes nothing.
    for (int row = 0; row < 5; ++row)
        commands.setRowGenerationLock (row, true);

    EXPECT_FALSE (commands.generatePhrase (0, consts::RegenerationMode::phrase));
    EXPECT_FALSE (commands.setRowGenerationLock (0, true));
    EXPECT_EQ (phrases.getUndoManager().getUndoDescriptions().size(), 5) << "one step per lock, none for the rest";

    commands.setPhraseLoopCount (6, 100000);
    EXPECT_EQ (processor.getPhrase (6).loopCount, tarn::SequenceLimits::maxLoopCount);
}

TEST_F (EditCommandTest, theRowTableStopsAtOneHundredTwentyEightRows)
{
    ASSERT_TRUE (commands.newRow());
    EXPECT_EQ (phrases.getRows().back().type, CadenziumModifier::pitch);
    EXPECT_EQ (phrases.getRows().back().value, 5) << "one rank above the highest Pitch row";

    ASSERT_TRUE (commands.newRows (500));
    EXPECT_EQ ((int) phrases.getRows().size(), CadenziumModifier::maxRows);
    EXPECT_EQ (phrases.getRows().back().value, 15);

    EXPECT_FALSE (commands.newRow());
    EXPECT_FALSE (commands.newRows (1));

    phrases.undo();
    EXPECT_EQ (phrases.getRows().size(), 6u) << "undo removes only the rows the step added";
}

// The editor's row popup test names and undoes each switch; here what the command itself decides.
TEST_F (EditCommandTest, rowSettingsAreFittedToTheTypeAndLeaveTheMuteAlone)
{
    auto settings = phrases.getRows()[1];
    settings.type = CadenziumModifier::velocity;
    settings.value = 12;
    settings.channel = 40;
    settings.muted = true; // ignored: the settings step does not carry the mute

    ASSERT_TRUE (commands.changeRow (1, settings));
    const auto& changed = phrases.getRows()[1];
    EXPECT_EQ (std::tuple (changed.type, changed.value, changed.channel, changed.muted), std::tuple ((int) CadenziumModifier::velocity, 8, 16, false));

    ASSERT_TRUE (commands.setRowGenerationLock (1, true));
    ASSERT_TRUE (commands.setRowGenerationLock (1, false));
    EXPECT_EQ (phrases.getUndoTooltip(), "Undo: Unlock row generation");
}

TEST_F (EditCommandTest, aMidiImportAddsTheMissingRowsAndThenThePhraseAsTwoSteps)
{
    const TemporaryFolder folder;
    const auto file = writeChords (folder, { { 48, 51, 54, 57, 60, 63, 66 } });

    const auto before = processor.getPhrase (4);
    ASSERT_TRUE (commands.importMidiPattern (4, file).wasOk());
    EXPECT_EQ (phrases.getRows().size(), 7u);
    EXPECT_EQ (processor.getPhrase (4).notes.size(), 7u);

    phrases.undo();
    EXPECT_TRUE (tarn::sequencesAreEqual (processor.getPhrase (4), before));
    EXPECT_EQ (phrases.getRows().size(), 7u) << "the rows are a step of their own";
    phrases.undo();
    EXPECT_EQ (phrases.getRows().size(), 5u);
}

TEST_F (EditCommandTest, everyCommandUndoesToTheExactStateBeforeItAndRedoesToTheStateAfterIt)
{
    commands.newController ({ tarn::ControllerLane::controlChange, 1, 1, {} });
    commands.newController ({ tarn::ControllerLane::pitchBend, -1, 1, {} });
    processor.setControllerGenerationSetting (1, "enable", true);
    processor.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, 80.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::mutationNotesChanged, 100.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::mutationVelocity, 20.0f);
    tarn::RandomSource::setFixedSeed (12);

    auto drawn = processor.getPhrase (2);
    drawn.lanes[1].points = { { 0, -4000, 0.5f, 0 }, { 960, 4000, 0.5f, 2 } };
    commands.editPhrase (2, drawn);
    PhraseMutator mutator (11);

    const std::tuple<const char*, const char*, std::function<bool()>> steps[] = {
        { "generate", "Edit phrase", [&]
          { return commands.generatePhrase (2, consts::RegenerationMode::notes); } },
        { "mutate", "Mutate phrase", [&]
          { return commands.mutatePhrase (2, mutator, tarn::GridSize()); } },
        { "rename", "Rename phrase", [&]
          { return commands.renamePhrase (4, "Hook"); } },
        { "move right", "Change phrase order", [&]
          { return commands.movePhrase (2, +1); } },
        { "copy to", "Edit phrase", [&]
          { return commands.copyPhraseTo (2, 9); } },
        { "delete phrase", "Edit phrase", [&]
          { return commands.deletePhrase (2); } },
        { "repeat", "Edit phrase", [&]
          { return commands.setPhraseLoopCount (3, 2); } },
        { "new row", "Create new row", [&]
          { return commands.newRow(); } },
        { "new rows", "Create multiple rows", [&]
          { return commands.newRows (3); } },
        { "delete row", "Delete row", [&]
          { return commands.deleteRow (1); } },
        { "move row", "Change row order", [&]
          { return commands.moveRow (4, 0); } },
        { "row settings", "Change row settings", [&]
          {
              auto row = phrases.getRows()[0];
              row.octave = 2;
              return commands.changeRow (0, row);
          } },
        { "mute", "Mute row", [&]
          { return commands.setRowMuted (2, true); } },
        { "lock", "Lock row generation", [&]
          { return commands.setRowGenerationLock (2, true); } },
        { "new controller", "Create new controller", [&]
          { return commands.newController ({ tarn::ControllerLane::controlChange, 64, 2, "Sustain" }); } },
        { "change controller", "Change controller type", [&]
          { return commands.changeController (1, { tarn::ControllerLane::pitchBend, -1, 5, {} }); } },
        { "delete controller", "Delete controller", [&]
          { return commands.deleteController (1); } },
    };

    for (const auto& [name, transaction, step] : steps)
    {
        const auto before = stateOf (processor);
        ASSERT_TRUE (step()) << name;
        const auto after = stateOf (processor);
        ASSERT_NE (after, before) << name;
        EXPECT_EQ (phrases.getUndoTooltip(), juce::String ("Undo: ") + transaction) << name;

        ASSERT_TRUE (phrases.undo()) << name;
        EXPECT_EQ (stateOf (processor), before) << name;
        ASSERT_TRUE (phrases.redo()) << name;
        EXPECT_EQ (stateOf (processor), after) << name;
    }

    // A new step after an undo drops what could have been redone.
    phrases.undo();
    commands.renamePhrase (1, "Verse");
    EXPECT_FALSE (phrases.canRedo());
}
