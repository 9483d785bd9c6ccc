// Any bytes as a preset file in the user folder of a running plug-in: the library indexes
// it, the processor loads it if it was listed, and what loaded saves and restores to the
// same bytes.

#include "FuzzedProcessor.h"

#include <cstdint>
#include <fstream>

using namespace cadenzium::fuzz;

namespace
{
juce::File input;
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    fuzzedProcessor(); // first: it makes the home folder the library lives in
    input = brindlex::BrindlexProcessor::getUserPresetFolder (Cadenzium2AudioProcessor::productName).getChildFile ("Fuzz/Input.bpre");
    input.getParentDirectory().createDirectory();

    // An installed library: the Initial Patch is entry 0, the input comes after it.
    brindlex::BrindlexProcessor::getFactoryPresetFolder (Cadenzium2AudioProcessor::productName).createDirectory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    auto& processor = fuzzedProcessor().startInput();
    auto& presets = processor.getPresetManager();

    // Written in place and never synced to disk: the framework's file streams sync on every
    // flush, which made the disk, not the plug-in, set the pace.
    {
        std::ofstream out (input.getFullPathName().toStdString(), std::ios::binary | std::ios::trunc);
        out.write (reinterpret_cast<const char*> (data), (std::streamsize) size);
        require (out.good());
    }

    presets.refresh();

    const auto list = presets.getPresetList();
    const auto entry = std::find_if (list->begin(), list->end(), [] (const tarn::PresetInfo& p)
                                     { return p.path == input.getFullPathName(); });

    if (entry == list->end())
        return 0;

    // A listed preset is one that reads whole: it loads.
    const auto stateBefore = processor.getParameterState().state;
    require (presets.loadPreset (entry->index));

    if (processor.getParameterState().state == stateBefore)
        return 0;

    fuzzedProcessor().markChanged();

    const auto saved = save (processor);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    require (save (processor) == saved);
    return 0;
}
