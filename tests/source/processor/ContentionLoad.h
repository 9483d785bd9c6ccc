#pragma once

#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <atomic>
#include <thread>

namespace cadenzium::test
{

/** What a busy host and user do to the plug-in from the other threads while its audio thread
    plays: a host thread saves and restores the song over and over (some hosts do both on
    a thread of their own), and the message thread edits phrases, picks phrases to play and
    loads presets. For the contention test and benchmark. */
class ContentionLoad
{
public:
    /** Writes two presets to load, made from the processor as it is with and without a
        swing. [message thread] */
    explicit ContentionLoad (Cadenzium2AudioProcessor& processorToLoad)
        : processor (processorToLoad)
    {
        for (int i = 0; i < 2; ++i)
        {
            processor.setRawParameterValueNotifyingHost ("swing_amount", 30.0f * (float) i);
            presets[i] = juce::File (folder.string()).getChildFile ("Load " + juce::String (i) + ".bpre");
            presets[i].replaceWithText (processor.getPresetManager().createPresetElement ("Brindlex", "", "Tools")->toString());
        }

        song = [this]
        {
            juce::MemoryBlock block;
            processor.getStateInformation (block);
            return block;
        }();
    }

    ~ContentionLoad() { stopHostThread(); }

    /** Saves and restores until stopHostThread(). [message thread] */
    void startHostThread()
    {
        running = true;
        host = std::thread ([this]
                            {
                                while (running.load())
                                {
                                    juce::MemoryBlock saved;
                                    processor.getStateInformation (saved);
                                    processor.setStateInformation (song.getData(), (int) song.getSize());
                                    ++restores;
                                } });
    }

    void stopHostThread()
    {
        running = false;

        if (host.joinable())
            host.join();
    }

    /** One turn of the user's work: an edit of a phrase, a phrase to play, and every fourth
        turn a preset. [message thread] */
    void messageThreadTurn()
    {
        EditCommands commands (processor);
        const auto slot = turn % Cadenzium2AudioProcessor::numPhrases;
        auto phrase = processor.getPhrase (slot);

        if (phrase.notes.size() >= 32)
            phrase.notes.clear();

        phrase.notes.push_back ({});
        phrase.notes.back().number = turn % 4;
        phrase.notes.back().timestamp = (turn * 120) % juce::jmax (1, phrase.getLength());
        phrase.notes.back().length = 60;
        phrase.normalise();
        commands.editPhrase (slot, phrase);
        commands.renamePhrase (slot, "Turn " + juce::String (turn));
        processor.requestPhrase ((turn * 5) % Cadenzium2AudioProcessor::numPhrases);

        if (turn % 4 == 0)
            processor.getPresetManager().loadPresetFile (presets[(turn / 4) % 2]);

        ++turn;
    }

    std::atomic<int> restores { 0 };

private:
    Cadenzium2AudioProcessor& processor;
    const TemporaryFolder folder;
    juce::File presets[2];
    juce::MemoryBlock song;
    std::atomic<bool> running { false };
    std::thread host;
    int turn = 0;
};

} // namespace cadenzium::test
