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

std::optional<std::vector<PhraseSummary>> tryPhraseSummaries (Cadenzium2AudioProcessor& processor)
{
    const juce::ScopedTryLock stl (stateLockOf (processor));
    if (! stl.isLocked())
        return std::nullopt;

    std::vector<PhraseSummary> summaries;
    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        const auto& phrase = processor.getPhrase (slot);
        summaries.push_back ({ phrase.name, ! phrase.notes.empty() });
    }
    return summaries;
}

juce::ValueTree editorSettings (Cadenzium2AudioProcessor& processor)
{
    const juce::ScopedLock sl (stateLockOf (processor));
    return processor.getEditorSettings().createCopy();
}
} // namespace ProcessorReads
