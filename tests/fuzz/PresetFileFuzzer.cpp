// Any bytes as a preset file in the user folder of a running plug-in: the library indexes
// it, the processor loads it if it was listed, and what loaded saves and restores to the
// same bytes.
//
// One processor serves the whole run (building one costs more than most inputs). Every
// input starts from the state it had when it was built, so what an input does never
// depends on the inputs before it. The log is silenced: each line is a synced file write,
// slower than a whole input.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

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
    juce::File file = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName)
                          .getChildFile ("Fuzz/Input.bpre");
    SilentLogger silence;
    bool changed = false; // the last input was loaded: the next one starts from the initial state
    int runs = 0;
};

Plugin* plugin = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    // The home folder, and the library in it, in memory where there is a memory file system:
    // ext4 flushes a file that is cut to nothing and written again when it is closed.
    if (std::filesystem::is_directory ("/dev/shm"))
        setenv ("TMPDIR", "/dev/shm", 0);

    cadenzium::test::useTemporaryHome();
    plugin = new Plugin(); // lives for the whole run
    plugin->file.getParentDirectory().createDirectory();
    juce::Logger::setCurrentLogger (&plugin->silence);

    // An installed library: the Initial Patch is entry 0, the input comes after it.
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& processor = plugin->processor;
    auto& presets = processor.getPresetManager();

    if (std::exchange (plugin->changed, false))
        processor.setStateInformation (plugin->initialState.getData(), (int) plugin->initialState.getSize());

    // Toasts and parameter updates post messages; let them through now and then.
    if (++plugin->runs % 256 == 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    // Written in place and never synced to disk: the framework's file streams sync on every
    // flush, which made the disk, not the plug-in, set the pace.
    {
        std::ofstream out (plugin->file.getFullPathName().toStdString(), std::ios::binary | std::ios::trunc);
        out.write (reinterpret_cast<const char*> (data), (std::streamsize) size);
        require (out.good());
    }

    presets.refresh();

    const auto list = presets.getPresetList();
    const auto entry = std::find_if (list->begin(), list->end(), [] (const tarn::PresetInfo& p)
                                     { return p.path == plugin->file.getFullPathName(); });

    if (entry == list->end())
        return 0;

    // A listed preset is one that reads whole: it loads.
    const auto stateBefore = processor.getParameterState().state;
    require (presets.loadPreset (entry->index));

    if (processor.getParameterState().state == stateBefore)
        return 0;

    plugin->changed = true;

    const auto saved = save (processor);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    require (save (processor) == saved);
    return 0;
}
