#include "ControllerActions.h"

#include <source/processor/PhraseManager.h>

//==============================================================================
UndoableNewController::UndoableNewController (PhraseManager& managerToUse,
                                              const ControllerType& entryToAdd,
                                              std::function<void (const juce::String&)> callbackToUse)
    : manager (managerToUse)
    , entry (entryToAdd.sanitised())
    , callback (std::move (callbackToUse))
{
}

UndoableNewController::~UndoableNewController() = default;

bool UndoableNewController::perform()
{
    auto types = manager.getControllerTypes();
    types.push_back (entry);
    manager.setControllerTypes (std::move (types));

    if (callback != nullptr)
        callback (entry.name);

    return true;
}

bool UndoableNewController::undo()
{
    auto types = manager.getControllerTypes();

    if (! types.empty())
        types.pop_back();

    manager.setControllerTypes (std::move (types));

    if (callback != nullptr)
        callback (entry.name);

    return true;
}

//==============================================================================
UndoableDeleteController::UndoableDeleteController (PhraseManager& managerToUse, int indexToUse)
    : manager (managerToUse)
    , index (indexToUse)
{
}

UndoableDeleteController::~UndoableDeleteController() = default;

bool UndoableDeleteController::perform()
{
    auto types = manager.getControllerTypes();

    if (! juce::isPositiveAndBelow (index, (int) types.size()))
        return false;

    removed = types[(size_t) index];
    types.erase (types.begin() + index);
    manager.setControllerTypes (std::move (types));
    return true;
}

bool UndoableDeleteController::undo()
{
    auto types = manager.getControllerTypes();
    types.insert (types.begin() + juce::jlimit (0, (int) types.size(), index), removed);
    manager.setControllerTypes (std::move (types));
    return true;
}

//==============================================================================
UndoableChangeController::UndoableChangeController (PhraseManager& managerToUse,
                                                    int indexToUse,
                                                    const ControllerType& entry,
                                                    std::function<void()> callbackToUse)
    : manager (managerToUse)
    , index (indexToUse)
    , newEntry (entry.sanitised())
    , callback (std::move (callbackToUse))
{
}

UndoableChangeController::~UndoableChangeController() = default;

bool UndoableChangeController::perform()
{
    auto types = manager.getControllerTypes();

    if (! juce::isPositiveAndBelow (index, (int) types.size()))
        return false;

    oldEntry = types[(size_t) index];

    if (oldEntry == newEntry)
        return false;

    types[(size_t) index] = newEntry;
    manager.setControllerTypes (std::move (types));

    if (callback != nullptr)
        callback();

    return true;
}

bool UndoableChangeController::undo()
{
    auto types = manager.getControllerTypes();

    if (juce::isPositiveAndBelow (index, (int) types.size()))
    {
        types[(size_t) index] = oldEntry;
        manager.setControllerTypes (std::move (types));
    }

    if (callback != nullptr)
        callback();

    return true;
}
