// Any bytes as a preset file in the user folder of a running plug-in: the library
// indexes it, the processor loads it if it was listed, and the host saves the result.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <cstdint>
#include <memory>

namespace
{
struct Plugin
{
    juce::ScopedJuceInitialiser_GUI juce;
    Cadenzium2AudioProcessor processor;
    juce::File file = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName)
                          .getChildFile ("Fuzz/Input.bpre");
    int runs = 0;
};

Plugin* plugin = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    cadenzium::test::useTemporaryHome();
    plugin = new Plugin(); // lives for the whole run
    plugin->file.getParentDirectory().createDirectory();

    // An installed library: the Initial Patch is entry 0, the input comes after it.
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& processor = plugin->processor;
    auto& presets = processor.getPresetManager();

    plugin->file.replaceWithData (data, size);
    presets.refresh();

    for (const auto& entry : *presets.getPresetList())
        if (entry.path == plugin->file.getFullPathName())
            presets.loadPreset (entry.index);

    juce::MemoryBlock state;
    processor.getStateInformation (state);
    processor.setStateInformation (state.getData(), (int) state.getSize());

    // Toasts and parameter updates post messages; let them through now and then.
    if (++plugin->runs % 256 == 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    return 0;
}
