#pragma once

#include "ControllerTypes.h"

#include <juce_data_structures/juce_data_structures.h>

/** Keeps the processor's "generation" node (one "cc_generator" child per controller lane, in
    lane order) in step with the controller-type list. The node is the same object for the
    processor's whole life; only its children change, so whoever listens to it stays attached.

    Settings belong to their lane, not to a position: deleting a lane never hands its settings
    to the next one, and a lane given a new type in place keeps its settings. The settings of a
    deleted lane are put aside, so undoing the deletion brings them back.

    All members: [message thread, or a host thread restoring a state; under the state lock].
*/
class GenerationNodeUpkeep
{
public:
    GenerationNodeUpkeep();

    const juce::ValueTree& getNode() const noexcept { return node; }
    juce::ValueTree& getNode() noexcept { return node; }

    /** After an edit changed the list from `before` to `after`. `restoring` is true while an
        undo or redo runs: a lane that comes back then takes the settings it had. */
    void followEdit (const ControllerTypeList& before, const ControllerTypeList& after, bool restoring);

    /** After a state load: the loaded node's settings (or, without one, the current ones)
        for the loaded lanes. Settings put aside belong to the old song and are forgotten. */
    void adopt (const juce::ValueTree& loadedNode, const ControllerTypeList& types);

private:
    void rebuild (const juce::ValueTree& source, const ControllerTypeList& types);
    void putAside (const juce::ValueTree& child);

    juce::ValueTree node;
    juce::ValueTree putAsideSettings;
};
