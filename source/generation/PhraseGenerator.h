#pragma once

#include "GenerationSettings.h"
#include "RegenerationMode.h"

#include <source/processor/CadenziumModifier.h>
#include <tarn/sequence/Sequence.h>

#include <juce_data_structures/juce_data_structures.h>

/** The editor's Generate button and the seven regeneration buttons: a new phrase, new notes,
    or one redrawn aspect of the edited phrase, never touching rows whose generation lock is
    on (their notes keep every attribute, and no note is placed on them).

    The editor calls these on the message thread with a copy of the edited phrase and commits
    the result under "Edit phrase" only when it differs from the phrase it started from.
*/
namespace PhraseGenerator
{
/** One run on a phrase, drawing from the given generator, so that a run is reproducible from
    its seed. rows is the row table (only type, value and generationLock matter here); the
    unlocked rows below 128 take part, in table order. generationNode is the plug-in state's
    "generation" node with one "cc_generator" child per controller lane. Returns the new
    phrase, or the phrase unchanged when every row is locked. [message thread] */
tarn::Sequence generate (const tarn::Sequence& phrase,
                         const RowList& rows,
                         const GenerationSettings& settings,
                         const juce::ValueTree& generationNode,
                         consts::RegenerationMode target,
                         juce::Random& random);

/** The same with a generator freshly seeded for this run from tarn::RandomSource: the
    clock (mixed with a counter), or the fixed seed that tests and tools set. [message thread] */
tarn::Sequence generate (const tarn::Sequence& phrase,
                         const RowList& rows,
                         const GenerationSettings& settings,
                         const juce::ValueTree& generationNode,
                         consts::RegenerationMode target);

/** Which rows a run may write to: unlocked, and one of the 128 rows a phrase can loop and
    play. [any thread] */
std::vector<bool> findUnlockedRows (const RowList& rows);
} // namespace PhraseGenerator
