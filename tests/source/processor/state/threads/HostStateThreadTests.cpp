// A host saving its project from its own thread while the user edits: run under
// ThreadSanitizer by `make tsan`.

#include <tests/source/processor/state/StateTestSupport.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cadenzium::test;

TEST (HostStateThreads, aHostSavingFromItsOwnThreadWhileTheUserEditsAlwaysGetsAWholeState)
{
    Cadenzium2AudioProcessor processor;
    processor.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, 60.0f);
    EditCommands commands (processor);
    auto& phrases = processor.getPhraseManager();

    std::atomic<bool> editing { true };
    std::atomic<int> saves { 0 }, tornSaves { 0 };

    std::thread host ([&]
                      {
                          while (editing.load())
                          {
                              juce::MemoryBlock block;
                              processor.getStateInformation (block);
                              const auto tree = treeOf (block);

                              // Rows and controller types are written in one piece with the
                              // phrases that use them.
                              const auto rows = tree.getChildWithName ("cadenzium_rows").getNumChildren();
                              const auto lanes = tree.getChildWithName ("controller_types").getNumChildren();
                              const auto phrase = tree.getChildWithName ("sequences").getChild (0);
                              const auto phraseLanes = phrase.getChildWithName ("controllers").getNumChildren();
                              int highestRow = -1;
                              for (const auto& note : phrase.getChildWithName ("notes"))
                                  highestRow = std::max (highestRow, (int) note["number"]);

                              if (! tree.hasType ("cadenzium2") || lanes != phraseLanes || highestRow >= rows)
                                  ++tornSaves;

                              ++saves;
                          } });

    for (int round = 0; round < 30; ++round)
    {
        commands.generatePhrase (0, consts::RegenerationMode::phrase);
        commands.newController ({ tarn::ControllerLane::controlChange, round % 128, 1, {} });
        commands.newRow();
        commands.deleteRow (0);
        commands.moveRow (0, 3);
        processor.setEditorSetting ("editor_window_width", 1000 + round);
        phrases.undo();
        phrases.undo();
        phrases.redo();
    }

    while (saves.load() < 5)
        std::this_thread::yield();

    editing.store (false);
    host.join();

    EXPECT_GT (saves.load(), 0);
    EXPECT_EQ (tornSaves.load(), 0);
}
