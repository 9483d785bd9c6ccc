#pragma once

#include <source/processor/CadenziumModifier.h>
#include <tarn/sequence/Sequence.h>

#include <juce_data_structures/juce_data_structures.h>

#include <optional>

class Cadenzium2AudioProcessor;

/** The editor's reads of what a host may replace from its own thread while it restores a
    state (phrases, rows, the view settings): each copies under the processor's state lock,
    so the editor never looks at a half-restored song. [message thread] */
namespace ProcessorReads
{
RowList rows (Cadenzium2AudioProcessor& processor);
std::optional<CadenziumModifier> row (Cadenzium2AudioProcessor& processor, int index);

tarn::Sequence phrase (Cadenzium2AudioProcessor& processor, int slot);

/** What a phrase button shows of its phrase. */
struct PhraseSummary
{
    juce::String name;
    bool holdsNotes = false;
};

/** The names of the twelve phrases and whether each holds notes; nothing when a host holds
    the state right now (the caller tries again on its next tick rather than wait). */
std::optional<std::vector<PhraseSummary>> tryPhraseSummaries (Cadenzium2AudioProcessor& processor);

/** A copy of the editor-settings node. */
juce::ValueTree editorSettings (Cadenzium2AudioProcessor& processor);
} // namespace ProcessorReads
