// A host restoring songs on its own thread while the user runs every edit command on the
// message thread: run under ThreadSanitizer by `make tsan`.

#include <source/generation/PhraseMutator.h>
#include <tests/source/processor/state/StateTestSupport.h>
#include <tests/source/render/MidiFileBuilder.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cadenzium::test;

namespace
{
/** A song with `numRows` rows and `numLanes` controller lanes whose phrases use its rows. */
juce::MemoryBlock makeSong (int numRows, int numLanes)
{
    Cadenzium2AudioProcessor song;
    song.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, 80.0f);
    EditCommands commands (song);
    commands.newRows (numRows - (int) song.getPhraseManager().getRows().size());

    while ((int) song.getPhraseManager().getRows().size() > numRows)
        commands.deleteRow (0);

    for (int lane = 0; lane < numLanes; ++lane)
        commands.newController ({ tarn::ControllerLane::controlChange, 20 + lane, 1, {} });

    for (int slot = 0; slot < 4; ++slot)
        commands.generatePhrase (slot, consts::RegenerationMode::phrase);

    return stateOf (song);
}

/** What an edit made half in one song and half in another leaves in a saved state: a note on
    a row the song does not have, or a phrase whose lanes are not the song's controllers. */
juce::String findTear (const juce::MemoryBlock& saved)
{
    const auto tree = treeOf (saved);
    const auto rows = tree.getChildWithName ("cadenzium_rows").getNumChildren();
    const auto lanes = tree.getChildWithName ("controller_types").getNumChildren();

    for (const auto& phrase : tree.getChildWithName ("sequences"))
    {
        if (phrase.getChildWithName ("controllers").getNumChildren() != lanes)
            return "a phrase with " + juce::String (phrase.getChildWithName ("controllers").getNumChildren()) + " lanes in a song with " + juce::String (lanes);

        for (const auto& note : phrase.getChildWithName ("notes"))
            if ((int) note["number"] >= rows)
                return "a note on row " + note["number"].toString() + " in a song with " + juce::String (rows) + " rows";
    }

    return {};
}
} // namespace

TEST (RestoreWhileEditing, aHostRestoringSongsOnItsThreadNeverMeetsAHalfDoneEdit)
{
    const juce::MemoryBlock songs[] = { makeSong (12, 1), makeSong (3, 0) };
    Cadenzium2AudioProcessor processor;
    processor.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, 80.0f);
    processor.setRawParameterValueNotifyingHost (ParameterIds::mutationNotesChanged, 100.0f);
    restore (processor, songs[0]);

    const TemporaryFolder folder;
    const auto midiFile = writeChords (folder, { { 60, 64, 67, 71, 74 }, { 62, 65, 69 } });

    std::atomic<bool> editing { true };
    std::atomic<int> restores { 0 };
    juce::String tear;

    std::thread host ([&]
                      {
                          for (int i = 0; editing.load() || i < 20; ++i)
                          {
                              restore (processor, songs[i % 2]);
                              ++restores;

                              if (const auto found = findTear (stateOf (processor)); found.isNotEmpty() && tear.isEmpty())
                                  tear = found;
                          } });

    EditCommands commands (processor);
    auto& phrases = processor.getPhraseManager();
    PhraseMutator mutator (5);

    for (int round = 0; round < 8; ++round)
    {
        // The editor edits a copy of the phrase it shows: the command refuses it if a
        // restore replaced that phrase meanwhile.
        const auto slot = round % 4;
        const auto shown = processor.getPhraseSnapshot (slot);
        auto edited = *shown;
        edited.name = "Round " + juce::String (round);
        commands.editPhrase (slot, edited, shown);
        commands.generatePhrase (slot, consts::RegenerationMode::phrase);
        commands.mutatePhrase (slot, mutator, tarn::GridSize());
        commands.importMidiPattern (slot, midiFile);
        commands.renamePhrase (slot, "Renamed");
        commands.movePhrase (slot, +1);
        commands.copyPhraseTo (slot, slot + 3);
        commands.setPhraseLoopCount (slot, round % 4);
        commands.deletePhrase (slot + 5);
        commands.newRow();
        commands.newRows (2);
        commands.moveRow (0, 2);
        commands.changeRow (1, phrases.getRows().empty() ? CadenziumModifier() : phrases.getRows().front());
        commands.setRowMuted (0, round % 2 == 0);
        commands.setRowGenerationLock (1, round % 2 == 1);
        commands.deleteRow (0);
        commands.newController ({ tarn::ControllerLane::controlChange, 40 + round, 1, {} });
        commands.changeController (0, { tarn::ControllerLane::controlChange, 90 + round, 2, {} });
        commands.deleteController (0);
        phrases.undo();
        phrases.redo();
    }

    editing = false;
    host.join();

    EXPECT_GE (restores.load(), 20);
    EXPECT_TRUE (tear.isEmpty()) << tear;
    EXPECT_EQ (findTear (stateOf (processor)), juce::String());
}
