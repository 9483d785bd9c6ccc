// Any bytes a host might hand to setStateInformation. The first byte chooses how the rest
// arrives: as the host's raw data, or as XML text inside a well-formed container (so the
// fuzzer reaches the state reader instead of stopping at the magic). Whatever loads must
// save again as a state that loads to the same bytes. An input the processor refuses
// changes nothing and is done.

#include "FuzzedProcessor.h"

#include <tests/support/StateContainer.h>

#include <cstdint>
#include <vector>

using namespace cadenzium::fuzz;

namespace
{
std::vector<float> parameterValues (Cadenzium2AudioProcessor& processor)
{
    std::vector<float> values;
    for (auto* parameter : processor.getParameters())
        values.push_back (parameter->getValue());
    return values;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;

    auto& processor = fuzzedProcessor().startInput();

    const auto input = (data[0] & 1) != 0 ? cadenzium::test::containerFor (data + 1, size - 1) : juce::MemoryBlock (data + 1, size - 1);
    const auto stateBefore = processor.getParameterState().state;
    processor.setStateInformation (input.getData(), (int) input.getSize());

    // A refused state is left untouched, which the tree the processor holds shows.
    if (processor.getParameterState().state == stateBefore)
        return 0;

    fuzzedProcessor().markChanged();

    const auto& phrases = processor.getPhraseManager();
    require ((int) phrases.getRows().size() <= CadenziumModifier::maxRows);
    require (juce::isPositiveAndBelow (processor.getRequestedPhrase(), Cadenzium2AudioProcessor::numPhrases));
    require (! phrases.canUndo());

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto phrase = processor.getPhraseSnapshot (slot);
        require (phrase->getLength() >= 0 && phrase->getLength() <= tarn::Sequence::maxLength);

        for (const auto& note : phrase->notes)
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
