#pragma once

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <cstdlib>
#include <filesystem>
#include <utility>

namespace cadenzium::fuzz
{

/** A failed expectation: libFuzzer keeps the input that led here. */
inline void require (bool condition)
{
    if (! condition)
        std::abort();
}

inline juce::MemoryBlock save (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

/** One processor for the whole run: building one costs more than most inputs. Every input
    starts from the state it had when it was built, so what an input does never depends on the
    inputs before it. Its home folder is in memory where there is a memory file system (ext4
    flushes a file that is cut to nothing and written again when it is closed) and its log is
    silenced (each line is a synced file write, slower than a whole input). */
class FuzzedProcessor
{
public:
    FuzzedProcessor() { juce::Logger::setCurrentLogger (&silence); }

    /** Where every input begins: the state as built, and now and then the messages that
        toasts and parameter updates posted. */
    Cadenzium2AudioProcessor& startInput()
    {
        if (std::exchange (changed, false))
            processor.setStateInformation (initialState.getData(), (int) initialState.getSize());

        if (++runs % 256 == 0)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

        return processor;
    }

    /** The input changed the state: the next one starts by restoring it. */
    void markChanged() noexcept { changed = true; }

private:
    struct SilentLogger : juce::Logger
    {
        void logMessage (const juce::String&) override {}
    };

    static bool useHomeInMemory()
    {
        if (std::filesystem::is_directory ("/dev/shm"))
            setenv ("TMPDIR", "/dev/shm", 0);

        return ! cadenzium::test::useTemporaryHome().empty();
    }

    bool homeInMemory = useHomeInMemory();
    juce::ScopedJuceInitialiser_GUI juce;
    Cadenzium2AudioProcessor processor;
    juce::MemoryBlock initialState = save (processor);
    SilentLogger silence;
    bool changed = false;
    int runs = 0;
};

/** The run's one processor, built when first asked for and never destroyed. */
inline FuzzedProcessor& fuzzedProcessor()
{
    static auto* plugin = new FuzzedProcessor();
    return *plugin;
}

} // namespace cadenzium::fuzz
