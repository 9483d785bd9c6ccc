#include "ProcessorReads.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

namespace ProcessorReads
{
namespace
{
juce::CriticalSection& stateLockOf (Cadenzium2AudioProcessor& processor)
{
    return processor.getPhraseManager().getStateLock();
}
} // namespace

RowList rows (Cadenzium2AudioProcessor& processor)
{
    const juce::ScopedLock sl (stateLockOf (processor));
    return processor.getPhraseManager().getRows();
}

std::optional<CadenziumModifier> row (Cadenzium2AudioProcessor& processor, int index)
{
    const juce::ScopedLock sl (stateLockOf (processor));
    const auto& table = processor.getPhraseManager().getRows();

    if (! juce::isPositiveAndBelow (index, (int) table.size()))
        return std::nullopt;

    return table[(size_t) index];
}

tarn::Sequence phrase (Cadenzium2AudioProcessor& processor, int slot)
{
    const juce::ScopedLock sl (stateLockOf (processor));
    return processor.getPhrase (slot);
}

std::optional<juce::StringArray> tryPhraseNames (Cadenzium2AudioProcessor& processor)
{
    const juce::ScopedTryLock stl (stateLockOf (processor));
    if (! stl.isLocked())
        return std::nullopt;

    juce::StringArray names;
    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        names.add (processor.getPhrase (slot).name);
    return names;
}

juce::ValueTree editorSettings (Cadenzium2AudioProcessor& processor)
{
    const juce::ScopedLock sl (stateLockOf (processor));
    return processor.getEditorSettings().createCopy();
}
} // namespace ProcessorReads
