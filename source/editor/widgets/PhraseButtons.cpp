#include "PhraseButtons.h"

#include <source/editor/ProcessorReads.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <source/processor/Parameters.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/overlays/PopupMenus.h>

namespace
{
tarn::PopupKind phraseMenuKind { "phrase menu" };

constexpr int maxPhraseNameLength = 32;
} // namespace

PhraseButtons::PhraseButtons (Cadenzium2AudioProcessor& p)
    : processor (p)
{
    setComponentID ("phrase_buttons");

    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
    {
        auto* button = buttons.add (std::make_unique<PhraseButton> (slot));
        button->onClick = [this, slot]
        { select (slot); };
        button->onRightClick = [this, slot]
        { showPhraseMenu (slot); };
        addAndMakeVisible (button);
    }

    editedPhrase = juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, processor.getRequestedPhrase());
    refresh();
}

PhraseButtons::~PhraseButtons() = default;

juce::String PhraseButtons::tooltipFor (int slot, int keyswitchRange)
{
    // The top range's last slots would need notes past 127, which MIDI has not: those
    // phrases are chosen with their buttons only.
    const auto note = Parameters::keyswitchRangeLowestNote (keyswitchRange) + slot;
    const auto key = juce::isPositiveAndBelow (note, 128) ? juce::MidiMessage::getMidiNoteName (note, true, true, 3) : juce::String ("no keyswitch");
    return "Phrase " + juce::String (slot + 1) + " (" + key + "): Click to switch to phrase and view in editor. Right click for more options";
}

void PhraseButtons::setEditedPhrase (int slot)
{
    editedPhrase = juce::jlimit (0, buttons.size() - 1, slot);
    for (auto* button : buttons)
        button->setEdited (button->getSlot() == editedPhrase);
}

void PhraseButtons::refresh()
{
    const auto range = processor.getIntParameterValue (ParameterIds::keyswitchRange);
    const auto playing = processor.getPlayingPhrase();
    // Reading the phrases takes the state lock, so it waits for a change; a busy lock leaves
    // them stale for the next tick.
    const auto summaries = namesStale ? ProcessorReads::tryPhraseSummaries (processor) : std::nullopt;
    if (summaries)
        namesStale = false;

    for (auto* button : buttons)
    {
        const auto slot = button->getSlot();
        if (summaries)
        {
            button->setPhraseName ((*summaries)[(size_t) slot].name);
            button->setHoldsNotes ((*summaries)[(size_t) slot].holdsNotes);
        }
        button->setEdited (slot == editedPhrase);
        button->setPlaying (slot == playing);

        if (range != shownKeyswitchRange)
            button->setTooltip (tooltipFor (slot, range));
    }

    shownKeyswitchRange = range;
}

void PhraseButtons::select (int slot)
{
    setEditedPhrase (slot);
    listeners.call ([slot] (Listener& l)
                    { l.phraseButtonClicked (slot); });
}

juce::PopupMenu PhraseButtons::createPhraseMenu (int slot) const
{
    juce::PopupMenu copyTo;
    for (int target = 0; target < buttons.size(); ++target)
    {
        auto text = "Phrase " + juce::String (target + 1);
        const auto name = ProcessorReads::phrase (processor, target).name;
        if (name.isNotEmpty())
            text << " (" << name << ")";

        copyTo.addItem (copyToFirstItem + target, text, target != slot);
    }

    juce::PopupMenu menu;
    menu.addItem (renameItem, "Rename");
    menu.addItem (moveLeftItem, "Move Left", slot > 0);
    menu.addItem (moveRightItem, "Move Right", slot < buttons.size() - 1);
    menu.addSubMenu ("Copy to", copyTo);
    menu.addSeparator();
    menu.addItem (deleteItem, "Delete");
    return menu;
}

void PhraseButtons::showPhraseMenu (int slot)
{
    juce::Component::SafePointer<PhraseButtons> safeThis (this);
    tarn::showMenu (phraseMenuKind, *buttons[slot], createPhraseMenu (slot), {}, [safeThis, slot] (int result)
                    {
                        if (safeThis != nullptr)
                            safeThis->handlePhraseMenuResult (slot, result);
                    });
}

void PhraseButtons::handlePhraseMenuResult (int slot, int itemId)
{
    switch (itemId)
    {
        case 0:
            return;
        case renameItem:
            startRename (slot);
            return;
        case moveLeftItem:
        case moveRightItem:
        {
            // The two phrases swap places. The playing phrase and the edited one follow their
            // phrase, so what plays stays what played: moving a phrase is not choosing one.
            const auto neighbour = slot + (itemId == moveLeftItem ? -1 : 1);
            const auto playing = processor.getRequestedPhrase();
            const auto followed = [slot, neighbour] (int s)
            { return s == slot ? neighbour : s == neighbour ? slot : s; };

            if (commands.movePhrase (slot, neighbour - slot))
            {
                if (followed (playing) != playing)
                    processor.requestPhrase (followed (playing));

                if (const auto edited = followed (editedPhrase); edited != editedPhrase)
                {
                    setEditedPhrase (edited);
                    listeners.call ([edited] (Listener& l)
                                    { l.editedPhraseMoved (edited); });
                }
            }

            phrasesChanged();
            refresh();
            return;
        }
        case deleteItem:
            commands.deletePhrase (slot);
            phrasesChanged();
            refresh();
            return;
        default:
            break;
    }

    const auto target = itemId - copyToFirstItem;
    if (juce::isPositiveAndBelow (target, buttons.size()) && target != slot)
    {
        commands.copyPhraseTo (slot, target);
        select (target);
        phrasesChanged();
        refresh();
    }
}

void PhraseButtons::startRename (int slot)
{
    cancelRename();

    renamingSlot = slot;
    renameEditor = std::make_unique<juce::TextEditor> ("Phrase name");
    renameEditor->setComponentID ("phrase_name_editor");
    renameEditor->setInputRestrictions (maxPhraseNameLength);
    renameEditor->setFont (tarn::themeFont (*this));
    renameEditor->setJustification (juce::Justification::centred);
    renameEditor->setText (ProcessorReads::phrase (processor, slot).name, false);
    renameEditor->selectAll();
    renameEditor->onReturnKey = [this]
    { commitRename(); };
    renameEditor->onFocusLost = [this]
    { commitRename(); };
    renameEditor->onEscapeKey = [this]
    { cancelRename(); };

    addAndMakeVisible (*renameEditor);
    renameEditor->setBounds (buttons[slot]->getBounds());
    renameEditor->grabKeyboardFocus();
}

void PhraseButtons::commitRename()
{
    if (renameEditor == nullptr)
        return;

    const auto slot = renamingSlot;
    const auto name = renameEditor->getText().trim();
    cancelRename();
    commands.renamePhrase (slot, name);
    phrasesChanged();
    refresh();
}

void PhraseButtons::cancelRename()
{
    if (renameEditor == nullptr)
        return;

    // The editor goes only after its own callback has returned.
    auto editor = std::move (renameEditor);
    renamingSlot = -1;
    editor->onFocusLost = nullptr;
    removeChildComponent (editor.get());
    juce::MessageManager::callAsync ([doomed = std::shared_ptr<juce::TextEditor> (std::move (editor))] {});
}

void PhraseButtons::resized()
{
    const auto gap = juce::roundToInt (tarn::themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
    auto area = getLocalBounds();
    const auto count = buttons.size();
    const auto width = (area.getWidth() - (count - 1) * gap) / count;

    for (auto* button : buttons)
    {
        button->setBounds (button == buttons.getLast() ? area : area.removeFromLeft (width));
        area.removeFromLeft (gap);
    }

    if (renameEditor != nullptr && renamingSlot >= 0)
        renameEditor->setBounds (buttons[renamingSlot]->getBounds());
}
