// Any bytes a host might hand to setStateInformation. The first byte chooses how the rest
// arrives: as the host's raw data, or as XML text inside a well-formed container (so the
// fuzzer reaches the state reader instead of stopping at the magic). Whatever loads must
// save again as a state that loads to the same bytes.
//
// One processor serves the whole run (building one costs more than most inputs). Every
// input starts from the state it had when it was built, so what an input does never
// depends on the inputs before it; an input it refuses changes nothing and is done. The
// log is silenced: each line is a synced file write, slower than a whole input.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <utility>
#include <vector>

namespace
{
void require (bool condition)
{
    if (! condition)
        std::abort();
}

juce::MemoryBlock save (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

struct SilentLogger : juce::Logger
{
    void logMessage (const juce::String&) override {}
};

struct Plugin
{
    juce::ScopedJuceInitialiser_GUI juce;
    Cadenzium2AudioProcessor processor;
    juce::MemoryBlock initialState = save (processor);
    SilentLogger silence;
    bool changed = false; // the last input was loaded: the next one starts from the initial state
    int runs = 0;
};

Plugin* plugin = nullptr;

juce::MemoryBlock containerFor (const std::uint8_t* text, std::size_t size)
{
    juce::MemoryBlock block;
    juce::MemoryOutputStream out (block, false);
    out.writeInt (0x21324356);
    out.writeInt ((int) size + 1);
    out.write (text, size);
    out.writeByte (0);
    return block;
}

std::vector<float> parameterValues (Cadenzium2AudioProcessor& processor)
{
    std::vector<float> values;

    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());

    return values;
}

} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // The home folder, and the library in it, in memory where there is a memory file system:
    // ext4 flushes a file that is cut to nothing and written again when it is closed.
    if (std::filesystem::is_directory ("/dev/shm"))
        setenv ("TMPDIR", "/dev/shm", 0);

    cadenzium::test::useTemporaryHome();
    plugin = new Plugin(); // lives for the whole run
    juce::Logger::setCurrentLogger (&plugin->silence);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;

    auto& processor = plugin->processor;

    if (std::exchange (plugin->changed, false))
        processor.setStateInformation (plugin->initialState.getData(), (int) plugin->initialState.getSize());

    // Toasts and parameter updates post messages; let them through now and then.
    if (++plugin->runs % 256 == 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    const auto input = (data[0] & 1) != 0 ? containerFor (data + 1, size - 1) : juce::MemoryBlock (data + 1, size - 1);
    const auto stateBefore = processor.getParameterState().state;
    processor.setStateInformation (input.getData(), (int) input.getSize());

    // A refused state is left untouched, which the tree the processor holds shows.
    if (processor.getParameterState().state == stateBefore)
        return 0;

    plugin->changed = true;

    const auto& phrases = processor.getPhraseManager();
    require ((int) phrases.getRows().size() <= CadenziumModifier::maxRows);
    require (juce::isPositiveAndBelow (processor.getRequestedPhrase(), Cadenzium2AudioProcessor::numPhrases));
    require (! phrases.canUndo());

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto& phrase = processor.getPhrase (slot);
        require (phrase.getLength() >= 0 && phrase.getLength() <= tarn::Sequence::maxLength);

        for (const auto& note : phrase.notes)
            require (note.number >= 0 && note.number < 128 && note.velocityMin >= 0 && note.velocityMax <= 127);
    }

    const auto width = (int) processor.getEditorSettings().getProperty ("editor_window_width", 1244);
    require (width >= 1000 && width <= 2000);

    // What loaded saves, and the save loads back to the same state, byte for byte: it is
    // the plug-in's own writing now, parameter list included.
    const auto saved = save (processor);
    const auto values = parameterValues (processor);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    require (parameterValues (processor) == values);
    require (save (processor) == saved);
    return 0;
}
