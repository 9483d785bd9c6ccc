// Any bytes a host might hand to setStateInformation. The first byte chooses how the rest
// arrives: as the host's raw data, or as XML text inside a well-formed container (so the
// fuzzer reaches the state reader instead of stopping at the magic). Whatever loads must
// save again as a state that loads to the same bytes.

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/support/TemporaryFolder.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace
{
void require (bool condition)
{
    if (! condition)
        std::abort();
}

struct Plugin
{
    juce::ScopedJuceInitialiser_GUI juce;
    Cadenzium2AudioProcessor processor;
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

/** The saved tree without the parameter tree's own nodes. */
juce::ValueTree withoutParameters (const juce::MemoryBlock& state)
{
    const auto xml = juce::AudioProcessor::getXmlFromBinary (state.getData(), (int) state.getSize());
    require (xml != nullptr);
    auto tree = juce::ValueTree::fromXml (*xml);

    for (int i = tree.getNumChildren(); --i >= 0;)
        if (tree.getChild (i).hasType ("PARAM"))
            tree.removeChild (i, nullptr);

    return tree;
}

juce::MemoryBlock save (Cadenzium2AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    cadenzium::test::useTemporaryHome();
    plugin = new Plugin(); // lives for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;

    auto& processor = plugin->processor;
    const auto input = (data[0] & 1) != 0 ? containerFor (data + 1, size - 1) : juce::MemoryBlock (data + 1, size - 1);
    processor.setStateInformation (input.getData(), (int) input.getSize());

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

    // What loaded saves, and the save loads back to the same state. The parameter tree's own
    // nodes are compared by the values they give: the framework rebuilds a damaged list of
    // them in its own order.
    const auto saved = save (processor);
    const auto values = parameterValues (processor);
    processor.setStateInformation (saved.getData(), (int) saved.getSize());
    require (parameterValues (processor) == values);
    require (withoutParameters (save (processor)).isEquivalentTo (withoutParameters (saved)));

    // Toasts and parameter updates post messages; let them through now and then.
    if (++plugin->runs % 256 == 0)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (1);

    return 0;
}
