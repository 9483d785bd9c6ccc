#include "EditCommands.h"

#include "ControllerActions.h"
#include "LaneEditing.h"
#include "RowActions.h"
#include "RowRenumbering.h"
#include "SequenceActions.h"
#include "TransactionNames.h"

#include <source/generation/MutationSettings.h>
#include <source/generation/PhraseGenerator.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/render/MidiPatternImport.h>
#include <tarn/sequence/SequenceSerialisation.h>
#include <tarn/toasts/ToastManager.h>

EditCommands::EditCommands (PhraseManager& phrasesToUse,
                            juce::AudioProcessorValueTreeState& parametersToUse,
                            tarn::ToastManager& toastsToUse,
                            std::function<juce::ValueTree()> generationNodeToUse)
    : phrases (phrasesToUse)
    , parameters (parametersToUse)
    , toasts (toastsToUse)
    , generationNode (std::move (generationNodeToUse))
{
}

EditCommands::EditCommands (Cadenzium2AudioProcessor& processor)
    : EditCommands (processor.getPhraseManager(),
                    processor.getParameterState(),
                    processor.getToastManager(),
                    [&processor]
                    { return processor.getControllerGenerationSettings().createCopy(); })
{
}

bool EditCommands::isSlot (int slot) const
{
    return juce::isPositiveAndBelow (slot, phrases.getNumSequences());
}

bool EditCommands::isStillBasedOn (int slot, const std::shared_ptr<const tarn::Sequence>& basedOn) const
{
    return basedOn == nullptr || basedOn == phrases.getSequenceSnapshot (slot);
}

bool EditCommands::commitPhrase (int slot, const tarn::Sequence& after, const char* transactionName)
{
    if (! isSlot (slot))
        return false;

    PhraseManager::Transaction transaction (phrases, transactionName);
    return transaction.perform (new UndoableUpdateSequence (phrases, slot, after));
}

template <typename Transform>
void EditCommands::updateEveryPhrase (PhraseManager::Transaction& transaction, Transform&& transform)
{
    for (int slot = 0; slot < phrases.getNumSequences(); ++slot)
        transaction.perform (new UndoableUpdateSequence (phrases, slot, transform (phrases.getSequence (slot))));
}

//==============================================================================
bool EditCommands::editPhrase (int slot, const tarn::Sequence& edited, const std::shared_ptr<const tarn::Sequence>& basedOn)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    return isStillBasedOn (slot, basedOn) && commitPhrase (slot, edited, TransactionNames::editPhrase);
}

bool EditCommands::generatePhrase (int slot, consts::RegenerationMode target)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! isSlot (slot))
        return false;

    const auto phrase = phrases.getSequence (slot);
    const auto generated = PhraseGenerator::generate (phrase,
                                                      phrases.getRows(),
                                                      GenerationSettings::fromParameters (parameters),
                                                      generationNode(),
                                                      target);
    return commitPhrase (slot, generated, TransactionNames::editPhrase);
}

bool EditCommands::mutatePhrase (int slot, PhraseMutator& mutator, const tarn::GridSize& grid)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! isSlot (slot))
        return false;

    const auto phrase = phrases.getSequence (slot);
    return commitMutation (slot, mutator.mutate (phrase, phrases.getRows(), MutationSettings::fromParameters (parameters), grid));
}

bool EditCommands::commitMutation (int slot, const MutationResult& result, const std::shared_ptr<const tarn::Sequence>& basedOn)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    return result.changed && isStillBasedOn (slot, basedOn) && commitPhrase (slot, result.sequence, TransactionNames::mutatePhrase);
}

juce::Result EditCommands::importMidiPattern (int slot, const juce::File& file)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! isSlot (slot))
        return juce::Result::fail ("No such phrase");

    ImportedPattern pattern;
    const auto result = MidiPatternImport::importFile (file, toLanes (phrases.getControllerTypes()), pattern);

    if (result.failed())
    {
        toasts.addToast (result.getErrorMessage(), tarn::Toast::error);
        return result;
    }

    if (const auto missing = pattern.rowsUsed - (int) phrases.getRows().size(); missing > 0)
        newRows (missing);

    commitPhrase (slot, pattern.sequence, TransactionNames::editPhrase);
    return result;
}

bool EditCommands::renamePhrase (int slot, const juce::String& name)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! isSlot (slot))
        return false;

    auto renamed = phrases.getSequence (slot);
    renamed.name = name;
    return commitPhrase (slot, renamed, TransactionNames::renamePhrase);
}

bool EditCommands::movePhrase (int slot, int direction)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    const auto neighbour = slot + (direction < 0 ? -1 : 1);

    if (direction == 0 || ! isSlot (slot) || ! isSlot (neighbour))
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::changePhraseOrder);
    const auto moving = phrases.getSequence (slot);
    const auto other = phrases.getSequence (neighbour);
    const auto first = transaction.perform (new UndoableUpdateSequence (phrases, slot, other));
    const auto second = transaction.perform (new UndoableUpdateSequence (phrases, neighbour, moving));
    return first || second;
}

bool EditCommands::copyPhraseTo (int from, int to)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (from == to || ! isSlot (from) || ! isSlot (to))
        return false;

    auto copy = phrases.getSequence (from);
    copy.name = phrases.getSequence (to).name;
    return commitPhrase (to, copy, TransactionNames::editPhrase);
}

bool EditCommands::deletePhrase (int slot)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    return commitPhrase (slot, phrases.makeDefaultSequence(), TransactionNames::editPhrase);
}

bool EditCommands::setPhraseLoopCount (int slot, int loopCount)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! isSlot (slot))
        return false;

    auto phrase = phrases.getSequence (slot);
    phrase.loopCount = juce::jlimit (tarn::SequenceLimits::minLoopCount, tarn::SequenceLimits::maxLoopCount, loopCount);
    return commitPhrase (slot, phrase, TransactionNames::editPhrase);
}

//==============================================================================
bool EditCommands::newRow()
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if ((int) phrases.getRows().size() >= CadenziumModifier::maxRows)
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::createNewRow);
    return transaction.perform (new UndoableNewRow (phrases, 1));
}

bool EditCommands::newRows (int count)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    PhraseManager::Transaction transaction (phrases, TransactionNames::createMultipleRows);
    return transaction.perform (new UndoableNewRow (phrases, count));
}

bool EditCommands::deleteRow (int row)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    if (! juce::isPositiveAndBelow (row, (int) phrases.getRows().size()))
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::deleteRow);

    if (! transaction.perform (new UndoableDeleteRow (phrases, row)))
        return false;

    updateEveryPhrase (transaction, [row] (const tarn::Sequence& phrase)
                       { return RowRenumbering::withoutRow (phrase, row); });
    return true;
}

bool EditCommands::moveRow (int from, int to)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    const auto size = (int) phrases.getRows().size();

    if (from == to || ! juce::isPositiveAndBelow (from, size) || ! juce::isPositiveAndBelow (to, size))
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::changeRowOrder);

    if (! transaction.perform (new UndoableMoveRow (phrases, from, to)))
        return false;

    updateEveryPhrase (transaction, [from, to] (const tarn::Sequence& phrase)
                       { return RowRenumbering::withRowMoved (phrase, from, to); });
    return true;
}

bool EditCommands::changeRow (int row, const CadenziumModifier& settings)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    PhraseManager::Transaction transaction (phrases, TransactionNames::changeRowSettings);
    return transaction.perform (new UndoableChangeRow (phrases, row, settings));
}

bool EditCommands::setRowMuted (int row, bool shouldBeMuted)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    PhraseManager::Transaction transaction (phrases, shouldBeMuted ? TransactionNames::muteRow : TransactionNames::unmuteRow);
    return transaction.perform (new UndoableSetRowSwitch (phrases, row, UndoableSetRowSwitch::Switch::mute, shouldBeMuted));
}

bool EditCommands::setRowGenerationLock (int row, bool shouldBeLocked)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    PhraseManager::Transaction transaction (phrases, shouldBeLocked ? TransactionNames::lockRow : TransactionNames::unlockRow);
    return transaction.perform (new UndoableSetRowSwitch (phrases, row, UndoableSetRowSwitch::Switch::generationLock, shouldBeLocked));
}

//==============================================================================
bool EditCommands::newController (const ControllerType& type)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    const auto entry = type.sanitised();
    const auto& types = phrases.getControllerTypes();

    // A second lane on a key would take over the first one's points in every phrase.
    if (std::any_of (types.begin(), types.end(), [&] (const auto& t)
                     { return t.hasSameKeyAs (entry); }))
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::createNewController);
    updateEveryPhrase (transaction, [&entry] (const tarn::Sequence& phrase)
                       { return LaneEditing::withLaneAdded (phrase, entry); });
    return transaction.perform (new UndoableNewController (phrases, entry));
}

bool EditCommands::deleteController (int index)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    const auto& types = phrases.getControllerTypes();

    if (! juce::isPositiveAndBelow (index, (int) types.size()))
        return false;

    const auto entry = types[(size_t) index];
    PhraseManager::Transaction transaction (phrases, TransactionNames::deleteController);
    updateEveryPhrase (transaction, [&entry] (const tarn::Sequence& phrase)
                       { return LaneEditing::withoutLane (phrase, entry); });
    return transaction.perform (new UndoableDeleteController (phrases, index));
}

bool EditCommands::changeController (int index, const ControllerType& type)
{
    const juce::ScopedLock sl (phrases.getStateLock());
    const auto types = phrases.getControllerTypes();

    if (! juce::isPositiveAndBelow (index, (int) types.size()))
        return false;

    const auto entry = type.sanitised();
    const auto old = types[(size_t) index];

    for (size_t i = 0; i < types.size(); ++i)
        if ((int) i != index && types[i].hasSameKeyAs (entry))
            return false;

    if (old == entry)
        return false;

    PhraseManager::Transaction transaction (phrases, TransactionNames::changeControllerType);
    updateEveryPhrase (transaction, [&old, &entry] (const tarn::Sequence& phrase)
                       { return LaneEditing::withLaneChanged (phrase, old, entry); });
    return transaction.perform (new UndoableChangeController (phrases, index, entry));
}
