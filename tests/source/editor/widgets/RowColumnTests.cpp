// The rows column and the row settings in a real window: what a click, a Shift-click and
// each control of the settings write into the processor's row table and its undo history.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/editor/overlays/CadenziumRowPopup.h>
#include <source/editor/widgets/ColourSwatch.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/Theme.h>
#include <tarn/gui/ThemeSelector.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{
namespace
{
    /** Opens a row's settings with a plain click, as a musician first tries. */
    CadenziumRowPopup& openSettingsOf (EditorWindow& window, int row)
    {
        auto& rows = editorOf (window).getRowEditor();
        rows.closePopup();
        EditorWindow::pump (20);
        window.click (rows.getRow (row));
        EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return rows.getPopup() != nullptr && rows.getPopup()->isShowing(); }));

        if (rows.getPopup() == nullptr || rows.getPopup()->getRow() != row)
            throw std::runtime_error ("the row's settings did not open");

        return *rows.getPopup();
    }

    void choose (EditorWindow& window, const juce::String& comboId, const juce::String& item)
    {
        window.click (EditorWindow::get (comboId));
        ASSERT_TRUE (EditorWindow::chooseMenuItem (item)) << comboId << ": " << item;
        EditorWindow::pump (20);
    }

    /** A stepper's − or + button. */
    juce::Button& stepButton (juce::Slider& stepper, const juce::String& text)
    {
        for (auto* child : stepper.getChildren())
            if (auto* button = dynamic_cast<juce::Button*> (child); button != nullptr && button->getButtonText() == text)
                return *button;

        throw std::runtime_error ("no step button " + text.toStdString());
    }

    juce::String undoName (Cadenzium2AudioProcessor& processor) { return processor.getPhraseManager().getUndoTooltip(); }

    CadenziumModifier rowOf (Cadenzium2AudioProcessor& processor, int row) { return processor.getPhraseManager().getRows()[(size_t) row]; }
} // namespace

TEST (RowColumn, aClickOpensARowsSettingsWhereEverySwitchChoiceAndStepIsOneNamedUndoStep)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& rows = editorOf (window).getRowEditor();

    auto& popup = openSettingsOf (window, 1);
    window.saveScreenshot ("row-settings");
    EXPECT_EQ (popup.getTypeBox().getText(), "Pitch");

    choose (window, "row_type", "Velocity");
    EXPECT_EQ (rowOf (processor, 1).type, CadenziumModifier::velocity);
    EXPECT_EQ (rows.getRow (1).getShownRow().type, CadenziumModifier::velocity);
    EXPECT_EQ (undoName (processor), "Undo: Change row settings");

    window.click (EditorWindow::get ("row_mute"));
    EXPECT_TRUE (rowOf (processor, 1).muted);
    EXPECT_EQ (undoName (processor), "Undo: Mute row");

    window.click (EditorWindow::get ("row_lock_generation"));
    EXPECT_TRUE (rowOf (processor, 1).generationLock);
    EXPECT_EQ (undoName (processor), "Undo: Lock row generation");

    // Shift-click mutes without opening anything; each click is a step of its own.
    rows.closePopup();
    EditorWindow::pump (20);
    window.click (rows.getRow (2), {}, juce::ModifierKeys::shiftModifier);
    EXPECT_TRUE (rowOf (processor, 2).muted);
    EXPECT_EQ (undoName (processor), "Undo: Mute row");
    window.click (rows.getRow (2), {}, juce::ModifierKeys::shiftModifier);
    EXPECT_FALSE (rowOf (processor, 2).muted);
    EXPECT_EQ (undoName (processor), "Undo: Unmute row");
    EXPECT_EQ (rows.getPopup(), nullptr);

    // Undo walks back through every step, one at a time, the popup's switches included.
    auto& undo = EditorWindow::get ("undo");
    const std::function<bool()> stateAfterEachUndo[] = {
        [&] { return rowOf (processor, 2).muted; },
        [&] { return ! rowOf (processor, 2).muted; },
        [&] { return ! rowOf (processor, 1).generationLock && rowOf (processor, 1).muted; },
        [&] { return ! rowOf (processor, 1).muted && rowOf (processor, 1).type == CadenziumModifier::velocity; },
        [&] { return rowOf (processor, 1) == PhraseManager::makeDefaultRows()[1]; },
    };

    for (size_t step = 0; step < std::size (stateAfterEachUndo); ++step)
    {
        window.click (undo);
        EXPECT_TRUE (stateAfterEachUndo[step]()) << "after undo " << step + 1;
    }

    EXPECT_FALSE (processor.getPhraseManager().canUndo());

    // Transpose and octave beyond the usual range show, and stay when another field changes.
    auto wide = rowOf (processor, 0);
    wide.transpose = 36;
    wide.octave = -7;
    EditCommands (processor).changeRow (0, wide);
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return rows.getRow (0).getShownRow().transpose == 36; }));
    auto& wideRow = openSettingsOf (window, 0);
    const auto shownText = [] (juce::Slider& stepper) { return stepper.getTextFromValue (stepper.getValue()); };
    EXPECT_EQ (shownText (wideRow.getTransposeStepper()), "+36");
    EXPECT_EQ (shownText (wideRow.getOctaveStepper()), "-7");

    choose (window, "row_channel", "2");
    EXPECT_EQ (std::tuple (rowOf (processor, 0).transpose, rowOf (processor, 0).octave, rowOf (processor, 0).channel), std::tuple (36, -7, 2));

    choose (window, "row_type", "Timing");
    EXPECT_EQ (std::tuple (rowOf (processor, 0).transpose, rowOf (processor, 0).octave), std::tuple (36, -7));

    // Each click on a stepper's button is one semitone or octave, one undo step.
    window.click (stepButton (wideRow.getTransposeStepper(), "-"));
    window.click (stepButton (wideRow.getOctaveStepper(), "+"));
    window.click (stepButton (wideRow.getOctaveStepper(), "+"));
    EXPECT_EQ (std::tuple (rowOf (processor, 0).transpose, rowOf (processor, 0).octave), std::tuple (35, -5));
    EXPECT_EQ (shownText (wideRow.getOctaveStepper()), "-5");
    EXPECT_EQ (undoName (processor), "Undo: Change row settings");

    // At the furthest a row can go, the button does nothing.
    wide = rowOf (processor, 0);
    wide.octave = 10;
    EditCommands (processor).changeRow (0, wide);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return wideRow.refresh() && shownText (wideRow.getOctaveStepper()) == "+10"; }));
    window.click (stepButton (wideRow.getOctaveStepper(), "+"));
    EXPECT_EQ (rowOf (processor, 0).octave, 10);
    window.saveScreenshot ("steppers");
}

TEST (RowColumn, paletteNumbersAndStoredColoursBothShowAndSelectTheirSwatchAndAPickStoresAPaletteNumber)
{
    // Dorian Motif's first row is a Velocity row: the factory library stores palette number 1.
    Cadenzium2AudioProcessor processor;
    ASSERT_TRUE (processor.getPresetManager().loadPresetFile (juce::File (CADENZIUM_FACTORY_PRESETS).getChildFile ("Melodic Figures/Dorian Motif.bpre")));
    ASSERT_EQ (rowOf (processor, 0).colour, 1);

    // A colour an earlier build stored in a song, as a full ARGB value.
    constexpr auto stored = (int) 0xff3aa7e0;
    auto withStored = rowOf (processor, 2);
    withStored.colour = stored;
    EditCommands (processor).changeRow (2, withStored);
    processor.getPhraseManager().clearUndoHistory();

    EditorWindow window (processor);
    auto& rows = editorOf (window).getRowEditor();
    auto& paletteRow = rows.getRow (0);
    EXPECT_EQ (paletteRow.getRowColour(), tarn::themeColour (paletteRow, "rows.colour1"));
    EXPECT_NE (paletteRow.getRowColour(), juce::Colours::black);
    EXPECT_EQ (rows.getRow (2).getRowColour(), juce::Colour ((juce::uint32) stored));

    openSettingsOf (window, 0);
    EXPECT_TRUE (EditorWindow::get<ColourSwatch> ("row_colour_1").getToggleState());
    EXPECT_EQ (EditorWindow::find ("row_colour_own"), nullptr) << "a palette colour needs no swatch of its own";

    openSettingsOf (window, 2);
    auto& own = EditorWindow::get<ColourSwatch> ("row_colour_own");
    EXPECT_TRUE (own.getToggleState());
    EXPECT_EQ (own.getStoredColour(), stored);
    for (int entry = 0; entry < 8; ++entry)
        EXPECT_FALSE (EditorWindow::get<ColourSwatch> ("row_colour_" + juce::String (entry)).getToggleState()) << entry;
    window.saveScreenshot ("stored-colour");

    // A pick stores the palette number, and the stored colour's swatch goes.
    window.click (EditorWindow::get ("row_colour_5"));
    EXPECT_EQ (rowOf (processor, 2).colour, 5);
    EXPECT_EQ (undoName (processor), "Undo: Change row settings");
    EXPECT_TRUE (EditorWindow::pumpUntil ([] { return EditorWindow::find ("row_colour_own") == nullptr; }));
    EXPECT_TRUE (EditorWindow::get<ColourSwatch> ("row_colour_5").getToggleState());

    // Palette numbers follow the colour scheme; the stored colour stays what it was.
    rows.closePopup();
    EditorWindow::pump (20);
    window.click (EditorWindow::get ("undo"));
    ASSERT_EQ (rowOf (processor, 2).colour, stored);
    auto* selector = tarn::ThemeSelector::getInstance();
    const auto darkPaletteColour = paletteRow.getRowColour();
    selector->setColourSchemeNumber (5);
    EditorWindow::pump (40);
    EXPECT_EQ (paletteRow.getRowColour(), tarn::themeColour (paletteRow, "rows.colour1"));
    EXPECT_NE (paletteRow.getRowColour(), darkPaletteColour);
    EXPECT_EQ (rows.getRow (2).getRowColour(), juce::Colour ((juce::uint32) stored));
    window.saveScreenshot ("light-scheme");
    selector->setColourSchemeNumber (4);
}

TEST (RowColumn, whileAChordIsHeldEachRowShowsTheNotesItPlaysAndItsShiftAsBadges)
{
    Cadenzium2AudioProcessor processor;
    EditCommands commands (processor);
    auto octaveUp = rowOf (processor, 0); // "Lowest"
    octaveUp.octave = 1;
    commands.changeRow (1, octaveUp);
    auto all = rowOf (processor, 0);
    all.type = CadenziumModifier::all;
    all.transpose = -2;
    commands.changeRow (3, all);

    processor.prepareToPlay (48000.0, 256);
    juce::AudioBuffer<float> audio (2, 256);
    const auto play = [&] (bool on)
    {
        juce::MidiBuffer midi;
        for (auto note : { 48, 60, 64, 67 })
            midi.addEvent (on ? juce::MidiMessage::noteOn (1, note, (juce::uint8) 100) : juce::MidiMessage::noteOff (1, note), 0);
        processor.processBlock (audio, midi);
    };

    EditorWindow window (processor);
    auto& rows = editorOf (window).getRowEditor();
    EXPECT_EQ (rows.getRow (0).getResolvedNotes(), "") << "nothing held";

    play (true);
    ASSERT_TRUE (EditorWindow::pumpUntil ([&] { return rows.getRow (0).getResolvedNotes().isNotEmpty(); }));
    EXPECT_EQ (rows.getRow (0).getResolvedNotes(), "C2");
    EXPECT_EQ (rows.getRow (1).getResolvedNotes(), "C3") << "two rows named Lowest, one an octave up";
    EXPECT_EQ (CadenziumRow::shiftBadges (rows.getRow (1).getShownRow()), juce::StringArray ({ "+1 oct" }));
    EXPECT_EQ (CadenziumRow::shiftBadges (rows.getRow (0).getShownRow()), juce::StringArray());
    EXPECT_EQ (rows.getRow (2).getResolvedNotes(), "E3");
    EXPECT_EQ (rows.getRow (3).getResolvedNotes(), juce::String (juce::CharPointer_UTF8 ("A#1 A#2 D3 \xe2\x80\xa6"))) << "an All row lists its first notes";
    EXPECT_EQ (CadenziumRow::shiftBadges (rows.getRow (3).getShownRow()), juce::StringArray ({ "-2 st" }));
    window.saveScreenshot ("chord held");

    // A row changed while the chord is held shows its new note at once.
    auto fifth = rowOf (processor, 2);
    fifth.transpose = 7;
    commands.changeRow (2, fifth);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return rows.getRow (2).getResolvedNotes() == "B3"; }));

    play (false);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return rows.getRow (0).getResolvedNotes().isEmpty(); })) << "released";
}

} // namespace cadenzium::test
