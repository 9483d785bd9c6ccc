#include "CadenziumRowPopup.h"

#include <source/editor/ProcessorReads.h>
#include <source/editor/widgets/RowColours.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>

namespace
{
constexpr int maxNameLength = 32;

// The furthest a row can shift its notes: semitones and octaves.
constexpr int largestTranspose = 127, largestOctave = 10;

/** A stepper of a signed offset: the value between its − and + buttons, shown with its sign. */
void makeOffsetStepper (juce::Slider& stepper, int largest, const juce::String& componentId, const juce::String& tooltip)
{
    stepper.setComponentID (componentId);
    stepper.setTooltip (tooltip);
    stepper.setSliderStyle (juce::Slider::IncDecButtons);
    stepper.setRange (-largest, largest, 1.0);
    stepper.setIncDecButtonsMode (juce::Slider::incDecButtonsNotDraggable);
    stepper.setTextBoxStyle (juce::Slider::TextBoxLeft, false, 56, 20);
    stepper.setTextBoxIsEditable (false);
    stepper.setWantsKeyboardFocus (false);
    stepper.textFromValueFunction = [] (double value)
    {
        const auto whole = juce::roundToInt (value);
        return whole > 0 ? "+" + juce::String (whole) : juce::String (whole);
    };
    stepper.updateText();
}

/** One line of the popup: a section caption, or a label with its control (a control
    alone spans the width). */
struct Line
{
    const char* text;
    juce::Component* control;
    bool isCaption;
};
} // namespace

CadenziumRowPopup::CadenziumRowPopup (Cadenzium2AudioProcessor& p, int rowIndex)
    : processor (p), row (rowIndex)
{
    setComponentID ("row_popup");

    // The popup takes the keys while it is open (Escape closes it), not its name field:
    // typing starts only after a click on the name.
    getProperties().set ("tarn_keyboard_focus", true);
    setWantsKeyboardFocus (true);

    nameEditor.setComponentID ("row_name");
    nameEditor.setTooltip ("Name: The row's name; empty shows what it plays");
    nameEditor.setInputRestrictions (maxNameLength);
    nameEditor.onReturnKey = [this]
    { writeFromControls(); };
    nameEditor.onFocusLost = [this]
    { writeFromControls(); };

    typeBox.setComponentID ("row_type");
    typeBox.addItemList ({ "Pitch", "Velocity", "Timing", "Fixed", "Random", "All" }, 1);
    valueBox.setComponentID ("row_value");
    makeOffsetStepper (transposeStepper, largestTranspose, "row_transpose", "Transpose: Semitones added to the row's notes");
    makeOffsetStepper (octaveStepper, largestOctave, "row_octave", "Octave: Octaves added to the row's notes");
    for (auto* stepper : { &transposeStepper, &octaveStepper })
    {
        stepper->onValueChange = [this]
        { writeFromControls(); };
        addAndMakeVisible (*stepper);
    }
    channelBox.setComponentID ("row_channel");
    for (int c = 1; c <= 16; ++c)
        channelBox.addItem (juce::String (c), c);

    typeBox.setTooltip ("Type: Which held notes the row plays");
    valueBox.setTooltip ("Value: Which of them, by the type's order");
    channelBox.setTooltip ("Channel: The MIDI channel the row plays on");

    for (auto* box : { &typeBox, &valueBox, &channelBox })
    {
        box->setWantsKeyboardFocus (false);
        box->onChange = [this, box]
        {
            if (showing)
                return;

            // A new type keeps the value when it fits; a fixed note starts at middle C.
            if (box == &typeBox)
            {
                auto current = ProcessorReads::row (processor, row);
                if (! current)
                    return;

                auto changed = *current;
                changed.type = typeBox.getSelectedId() - 1;
                changed.value = changed.type == CadenziumModifier::fixed && changed.value <= CadenziumModifier::highestPitchValue
                                  ? 60
                                  : CadenziumModifier::getValueRange (changed.type).clipValue (changed.value);
                write (changed);
                return;
            }

            writeFromControls();
        };
        addAndMakeVisible (*box);
    }

    lockToggle.setComponentID ("row_lock_generation");
    lockToggle.setTooltip ("Lock Generation: Protect this row from generation and mutation, including notes moved into it.");
    lockToggle.onClick = [this]
    {
        if (! showing)
            commands.setRowGenerationLock (row, lockToggle.getToggleState());
    };

    muteToggle.setComponentID ("row_mute");
    muteToggle.setTooltip ("Mute: The row plays nothing");
    muteToggle.onClick = [this]
    {
        if (! showing)
            commands.setRowMuted (row, muteToggle.getToggleState());
    };

    // The theme's palette, then the row's own colour when it has one from outside it.
    for (int entry = 0; entry <= RowColours::numEntries; ++entry)
    {
        const auto isOwn = entry == RowColours::numEntries;
        auto* swatch = swatches.add (std::make_unique<ColourSwatch> (entry));
        swatch->setComponentID (isOwn ? juce::String ("row_colour_own") : "row_colour_" + juce::String (entry));
        swatch->onClick = [this, swatch]
        {
            if (auto changed = ProcessorReads::row (processor, row))
            {
                changed->colour = swatch->getStoredColour();
                write (*changed);
            }
        };
        addChildComponent (swatch);

        if (isOwn)
            swatch->setTooltip ("Row Colour: The colour the song gave this row; pick another to change it");
        else
            swatch->setVisible (true);
    }

    deleteButton.setComponentID ("row_delete");
    deleteButton.setDestructive (true);
    deleteButton.setTooltip ("Delete Row: Remove the row and its notes from every phrase");
    deleteButton.onClick = [this]
    {
        commands.deleteRow (row);
        if (onCloseRequest != nullptr)
            onCloseRequest();
    };

    for (auto* c : std::initializer_list<juce::Component*> { &nameEditor, &lockToggle, &muteToggle, &deleteButton })
        addAndMakeVisible (c);

    refresh();
    setSize (getIdealBounds().getWidth(), getIdealBounds().getHeight());
}

CadenziumRowPopup::~CadenziumRowPopup()
{
    nameEditor.onFocusLost = nullptr;
}

juce::StringArray CadenziumRowPopup::valueNamesFor (int type)
{
    juce::StringArray names;
    auto numbered = [&names] (const char* first, int count, const char* last)
    {
        names.add (first);
        for (int i = 2; i < count; ++i)
            names.add (juce::String (i));
        names.add (last);
    };

    switch (type)
    {
        case CadenziumModifier::pitch:
            numbered ("1 (Lowest)", CadenziumModifier::highestPitchValue + 1, "Highest");
            break;
        case CadenziumModifier::velocity:
            numbered ("1 (Quitest)", CadenziumModifier::lastVelocityOrTimingValue + 1, "Loudest");
            break;
        case CadenziumModifier::timing:
            numbered ("1 (Oldest)", CadenziumModifier::lastVelocityOrTimingValue + 1, "Latest");
            break;
        case CadenziumModifier::fixed:
            for (int note = 0; note < 128; ++note)
                names.add (juce::MidiMessage::getMidiNoteName (note, true, true, 3));
            break;
        default:
            break;
    }

    return names;
}

void CadenziumRowPopup::fillValueBox (int type, int value)
{
    // The list is made again only when the type's list differs from the one shown.
    const auto names = valueNamesFor (type);
    if (names.size() != valueBox.getNumItems() || (! names.isEmpty() && names[0] != valueBox.getItemText (0)))
    {
        valueBox.clear (juce::dontSendNotification);
        valueBox.addItemList (names, 1);
    }

    valueBox.setEnabled (! names.isEmpty());
    if (names.isEmpty())
        valueBox.setText ("-", juce::dontSendNotification);
    else
        valueBox.setSelectedId (value + 1, juce::dontSendNotification);
}

bool CadenziumRowPopup::refresh()
{
    const auto current = ProcessorReads::row (processor, row);
    if (! current)
        return false;

    const juce::ScopedValueSetter<bool> showingNow (showing, true);
    const auto& shown = *current;

    if (! nameEditor.hasKeyboardFocus (true))
        nameEditor.setText (shown.name, false);

    typeBox.setSelectedId (shown.type + 1, juce::dontSendNotification);
    fillValueBox (shown.type, shown.value);
    transposeStepper.setValue (shown.transpose, juce::dontSendNotification);
    octaveStepper.setValue (shown.octave, juce::dontSendNotification);
    channelBox.setSelectedId (shown.channel, juce::dontSendNotification);
    lockToggle.setToggleState (shown.generationLock, juce::dontSendNotification);
    muteToggle.setToggleState (shown.muted, juce::dontSendNotification);

    auto& own = *swatches.getLast();
    const auto ownShown = ! RowColours::isPaletteEntry (shown.colour);
    own.setStoredColour (ownShown ? shown.colour : RowColours::numEntries);

    if (own.isVisible() != ownShown)
    {
        own.setVisible (ownShown);
        resized();
    }

    for (auto* swatch : swatches)
        swatch->setToggleState (swatch->isVisible() && swatch->getStoredColour() == shown.colour, juce::dontSendNotification);

    return true;
}

void CadenziumRowPopup::writeFromControls()
{
    const auto current = ProcessorReads::row (processor, row);
    if (showing || ! current)
        return;

    auto changed = *current;
    changed.name = nameEditor.getText().trim();
    changed.type = typeBox.getSelectedId() - 1;
    if (valueBox.isEnabled() && valueBox.getSelectedId() > 0)
        changed.value = valueBox.getSelectedId() - 1;
    changed.transpose = juce::roundToInt (transposeStepper.getValue());
    changed.octave = juce::roundToInt (octaveStepper.getValue());
    changed.channel = channelBox.getSelectedId();
    write (changed);
}

void CadenziumRowPopup::write (const CadenziumModifier& changed)
{
    commands.changeRow (row, changed);
    refresh();
}

int CadenziumRowPopup::getLineHeight() const
{
    return juce::roundToInt (tarn::themeMetric (*this, "defaultButtonHeight", 25.0f));
}

int CadenziumRowPopup::getLabelWidth() const
{
    return juce::roundToInt (tarn::themeMetric (*this, "sliderNameLabelWidth", 100.0f) * 0.8f);
}

juce::Rectangle<int> CadenziumRowPopup::getIdealBounds() const
{
    const auto lines = 13;
    const auto padding = juce::roundToInt (tarn::themeMetric (*this, "popupBorderWidth", 5.0f)) * 2;
    const auto gap = 2;
    return { 0, 0, juce::roundToInt (tarn::themeMetric (*this, "sidebarWidth", 240.0f)) + padding,
             lines * (getLineHeight() + gap) + 2 * padding };
}

namespace
{
std::vector<Line> linesOf (CadenziumRowPopup& popup)
{
    return {
        { "Name", &popup.getNameEditor(), false },
        { "Input", nullptr, true },
        { "Type", &popup.getTypeBox(), false },
        { "Value", &popup.getValueBox(), false },
        { "Output", nullptr, true },
        { "Transpose", &popup.getTransposeStepper(), false },
        { "Octave", &popup.getOctaveStepper(), false },
        { "Channel", &popup.getChannelBox(), false },
        { "Row", nullptr, true },
        { nullptr, &popup.getMuteButton(), false },
        { nullptr, &popup.getLockButton(), false },
        { "Colour", nullptr, false },
        { nullptr, &popup.getDeleteButton(), false },
    };
}
} // namespace

void CadenziumRowPopup::resized()
{
    const auto padding = juce::roundToInt (tarn::themeMetric (*this, "popupBorderWidth", 5.0f)) * 2;
    auto area = getLocalBounds().reduced (padding);
    const auto lineHeight = getLineHeight();
    const auto gap = 2;

    for (auto& line : linesOf (*this))
    {
        auto lineArea = area.removeFromTop (lineHeight);
        area.removeFromTop (gap);

        if (line.isCaption)
            continue;

        if (line.text != nullptr)
            lineArea.removeFromLeft (getLabelWidth());

        if (juce::String (line.text) == "Colour")
        {
            const auto numShown = (int) std::count_if (swatches.begin(), swatches.end(), [] (auto* s)
                                                       { return s->isVisible(); });
            const auto size = std::min (lineHeight, lineArea.getWidth() / std::max (1, numShown));
            for (auto* swatch : swatches)
                if (swatch->isVisible())
                    swatch->setBounds (lineArea.removeFromLeft (size).withSizeKeepingCentre (size, size));
            continue;
        }

        if (line.control != nullptr)
            line.control->setBounds (lineArea.reduced (0, 2));
    }
}

void CadenziumRowPopup::lookAndFeelChanged()
{
    // Texts keep the colour they were written in: the theme's come with the editor's look.
    nameEditor.setTextToShowWhenEmpty ("(from its type)", tarn::themeColour (*this, "text.secondarytext"));
    nameEditor.applyColourToAllText (nameEditor.findColour (juce::TextEditor::textColourId));

    for (auto* stepper : { &transposeStepper, &octaveStepper })
    {
        stepper->setColour (juce::Slider::textBoxTextColourId, tarn::themeColour (*this, "text.text"));
        stepper->setColour (juce::Slider::textBoxBackgroundColourId, tarn::themeColour (*this, "elements.element"));
        stepper->setColour (juce::Slider::textBoxOutlineColourId, tarn::themeColour (*this, "elements.outline"));
    }
}

void CadenziumRowPopup::paint (juce::Graphics& g)
{
    g.fillAll (tarn::themeColour (*this, "background.panel"));

    const auto padding = juce::roundToInt (tarn::themeMetric (*this, "popupBorderWidth", 5.0f)) * 2;
    auto area = getLocalBounds().reduced (padding);
    const auto lineHeight = getLineHeight();
    const auto gap = 2;
    const auto font = tarn::themeFont (*this);

    for (auto& line : linesOf (*this))
    {
        auto lineArea = area.removeFromTop (lineHeight);
        area.removeFromTop (gap);

        if (line.text == nullptr)
            continue;

        if (line.isCaption)
        {
            g.setColour (tarn::themeColour (*this, "theme.primary"));
            g.setFont (font);
            g.drawText (line.text, lineArea, juce::Justification::bottomLeft, false);
            g.drawHorizontalLine (lineArea.getBottom(), (float) lineArea.getX() + font.getStringWidthFloat (line.text) + 6.0f, (float) lineArea.getRight());
            continue;
        }

        g.setColour (tarn::themeColour (*this, "text.text"));
        g.setFont (font);
        g.drawText (line.text, lineArea.removeFromLeft (getLabelWidth()), juce::Justification::centredLeft, true);
    }
}
