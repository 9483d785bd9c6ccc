#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST (EditorLifetime, openingEditingAndClosingTheWindowWhileTheHostPlaysIsSafe)
{
    Cadenzium2AudioProcessor processor;
    processor.prepareToPlay (48000.0, 256);

    // The host's audio thread: blocks with a chord held, for as long as the test runs.
    std::atomic<bool> playing { true };
    std::atomic<int> blocks { 0 };
    std::thread audio ([&]
                       {
                           juce::AudioBuffer<float> buffer (2, 256);
                           while (playing.load())
                           {
                               juce::MidiBuffer midi;
                               if (blocks.load() == 0)
                                   for (auto note : { 60, 64, 67 })
                                       midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);
                               processor.processBlock (buffer, midi);
                               blocks.fetch_add (1);
                               std::this_thread::yield();
                           }
                       });

    for (int round = 0; round < 10; ++round)
    {
        auto editor = std::make_unique<Cadenzium2AudioProcessorEditor> (processor);
        editor->generate (consts::RegenerationMode::phrase);
        editor->mutate();
        editor->refreshFromProcessor();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
        editor.reset();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }

    playing.store (false);
    audio.join();

    EXPECT_GT (blocks.load(), 0);
    EXPECT_TRUE (processor.getPhraseManager().canUndo());
}
