#pragma once

#include <source/processor/state/ControllerTypes.h>

#include <juce_data_structures/juce_data_structures.h>

#include <functional>

class PhraseManager;

// Built by the editing commands and performed, undone and redone by the phrase manager's
// history, all on the message thread with the state lock held.

/** Appends a lane to the controller-type list. The phrases' own lanes are changed by the
    sequence updates of the same command. */
class UndoableNewController : public juce::UndoableAction
{
public:
    /** callback (optional) hears the entry's name after perform and after undo. [message thread] */
    UndoableNewController (PhraseManager& manager, const ControllerType& entry, std::function<void (const juce::String&)> callback = {});
    ~UndoableNewController() override;

    bool perform() override;
    bool undo() override;

private:
    PhraseManager& manager;
    const ControllerType entry;
    const std::function<void (const juce::String&)> callback;

    JUCE_DECLARE_NON_COPYABLE (UndoableNewController)
};

/** Removes the lane at an index from the controller-type list; undo puts it back there. */
class UndoableDeleteController : public juce::UndoableAction
{
public:
    UndoableDeleteController (PhraseManager& manager, int index); // [message thread]
    ~UndoableDeleteController() override;

    /** Discarded for an index the list does not have. */
    bool perform() override;
    bool undo() override;

private:
    PhraseManager& manager;
    const int index;
    ControllerType removed;

    JUCE_DECLARE_NON_COPYABLE (UndoableDeleteController)
};

/** Gives the lane at an index a new type, number, channel or name. */
class UndoableChangeController : public juce::UndoableAction
{
public:
    /** callback (optional) is called after perform and after undo. [message thread] */
    UndoableChangeController (PhraseManager& manager, int index, const ControllerType& newEntry, std::function<void()> callback = {});
    ~UndoableChangeController() override;

    /** Discarded for an index the list does not have, and when the entry there already has
        the new type, number, channel and name. */
    bool perform() override;
    bool undo() override;

private:
    PhraseManager& manager;
    const int index;
    const ControllerType newEntry;
    ControllerType oldEntry;
    const std::function<void()> callback;

    JUCE_DECLARE_NON_COPYABLE (UndoableChangeController)
};
