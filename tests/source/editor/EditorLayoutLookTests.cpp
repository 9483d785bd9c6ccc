// The window's layout as a musician meets it: a phrase of three rows (so the grid has room to
// spare), notes of several velocities, a looping row, a few phrases holding notes. Each scheme,
// the smallest and largest size and scale 2 are kept as screenshots to look at.

#include <source/commands/EditCommands.h>
#include <source/editor/Cadenzium2AudioProcessorEditor.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tests/source/editor/EditorTestHelpers.h>
#include <tarn/gui/panels/ControlLayout.h>
#include <tarn/gui/panels/PanelStack.h>
#include <tests/support/editor/ProductEditorTest.h>

#include <gtest/gtest.h>

#include <set>

namespace cadenzium::test
{
namespace
{
    void makeSmallSong (Cadenzium2AudioProcessor& processor)
    {
        EditCommands commands (processor);
        while (processor.getPhraseManager().getRows().size() > 3)
            commands.deleteRow ((int) processor.getPhraseManager().getRows().size() - 1);

        auto phrase = processor.getPhrase (0);
        const auto sixteenth = tarn::Ticks::perWhole / 16;
        for (int step = 0; step < 16; ++step)
        {
            tarn::SequenceNote note;
            note.number = step % 3;
            note.timestamp = step * sixteenth;
            note.length = sixteenth * (step % 4 == 0 ? 2 : 1);
            note.velocityMin = 20 + step * 6;
            note.velocityMax = step % 5 == 0 ? 127 : note.velocityMin;
            phrase.notes.push_back (note);
        }
        phrase.loops[2] = { 0, 4 * sixteenth };
        phrase.normalise();
        commands.editPhrase (0, phrase);
        commands.copyPhraseTo (0, 4);
        commands.renamePhrase (4, "Verse");
    }

    using EditorLayoutLook = ProductEditorTest;
} // namespace

TEST_F (EditorLayoutLook, eachSchemeAndSizeShowsTheGridFilledAndTabsOnTheSidebar)
{
    struct Case
    {
        const char* scheme;
        juce::Point<int> size;
        double scale;
    };

    for (const auto& c : { Case { "Dark", { 1244, 935 }, 1.0 }, Case { "Light", { 1244, 935 }, 1.0 }, Case { "Classic", { 1244, 935 }, 1.0 },
                           Case { "Dark", { 1000, 800 }, 1.0 }, Case { "Dark", { 2000, 1500 }, 1.0 }, Case { "Light", { 1244, 935 }, 2.0 } })
    {
        writeSetting ("cadenzium_gui_theme", c.scheme);
        writeSetting ("scale", c.scale);
        Cadenzium2AudioProcessor processor;
        processor.getToastManager().takeToasts();
        makeSmallSong (processor);
        processor.setEditorSetting ("editor_window_width", c.size.x);
        processor.setEditorSetting ("editor_window_height", c.size.y);

        EditorWindow window (processor);
        auto& editor = editorOf (window);
        const auto name = juce::String (c.scheme) + "-" + juce::String (c.size.x) + "x" + juce::String (c.size.y) + "-scale" + juce::String (c.scale);

        // The rows reach the grid's foot; the tabs stand on the sidebar they open.
        const auto& axis = editor.getPianoRoll().getRowAxis();
        EXPECT_NEAR (axis.yOf (0) + axis.rowHeight, editor.getPianoRoll().getGridBounds().getHeight(), 1.0) << name;
        auto& tabs = editor.getSidebarTabs();
        EXPECT_EQ (editor.getLocalArea (&tabs, tabs.getPlaybackTab().getBounds()).getBottom(), tabs.getBottom()) << name;

        auto& buttons = editor.getPhraseButtons();
        for (int slot = 0; slot < 12; ++slot)
            EXPECT_EQ (buttons.getButton (slot).holdsNotes(), slot == 0 || slot == 4) << name << " phrase " << slot + 1;

        EXPECT_EQ (findLayoutProblems (editor).joinIntoString ("\n"), "") << name;
        EditorWindow::pump (100);
        window.saveScreenshot (name + "-playback");

        editor.setSidebarView ("generation");
        EditorWindow::pump (100);
        window.saveScreenshot (name + "-generation");
    }
}

TEST_F (EditorLayoutLook, eachSidebarPanelHasOneLabelColumnAndItsSlidersShareOneTrack)
{
    Cadenzium2AudioProcessor processor;
    EditorWindow window (processor);
    auto& editor = editorOf (window);

    for (auto size : { juce::Point<int> (1244, 935), juce::Point<int> (1000, 800) })
    {
        editor.setSize (size.x, size.y);

        for (const auto* view : { "playback", "generation" })
        {
            editor.setSidebarView (view);
            EditorWindow::pump (50);
            int aligned = 0; // controls and tracks found in line with another of their panel

            for (auto* stack : { &editor.getPlaybackSidebar().getPanelStack(), &editor.getGenerationSidebar().getPanelStack() })
            {
                if (! stack->isShowing())
                    continue;

                for (int index = 0; index < stack->getNumPanels(); ++index)
                {
                    auto& panel = stack->getPanel (index);
                    const auto where = juce::String (view) + " panel " + juce::String (index) + " at " + size.toString();
                    std::set<int> controlStarts, trackStarts, trackEnds;
                    int controls = 0, tracks = 0;

                    // Each labelled control (a menu, the key, the swing speed) starts its
                    // first box in the panel's one control column.
                    for (auto* control : panel.getChildren())
                    {
                        auto* layout = dynamic_cast<tarn::ControlLayout*> (control);
                        if (layout == nullptr || layout->getNaturalLabelWidth() == 0 || control->getNumChildComponents() == 0)
                            continue;

                        int first = std::numeric_limits<int>::max();
                        for (auto* part : control->getChildren())
                            first = std::min (first, panel.getLocalPoint (part, juce::Point<int>()).x);
                        controlStarts.insert (first);
                        ++controls;
                    }

                    // Every horizontal slider, one value or two, spans the same track.
                    std::function<void (juce::Component&)> visit = [&] (juce::Component& c)
                    {
                        if (auto* slider = dynamic_cast<juce::Slider*> (&c); slider != nullptr && slider->isHorizontal())
                        {
                            const auto bounds = panel.getLocalArea (slider->getParentComponent(), slider->getBounds());
                            trackStarts.insert (bounds.getX());
                            trackEnds.insert (bounds.getRight());
                            ++tracks;
                        }
                        for (auto* child : c.getChildren())
                            visit (*child);
                    };
                    visit (panel);

                    EXPECT_LE (controlStarts.size(), 1u) << where;
                    EXPECT_LE (trackStarts.size(), 1u) << where;
                    EXPECT_LE (trackEnds.size(), 1u) << where;
                    aligned += std::max (0, controls - 1) + std::max (0, tracks - 1);
                }
            }

            EXPECT_GE (aligned, 3) << view << ": the test saw panels with several controls to line up";
        }
    }
}

TEST_F (EditorLayoutLook, theKeyboardShowsKeysLargeEnoughToHitFollowsTheChordAndTheChordIsNamedBesideIt)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    processor.prepareToPlay (48000.0, 256);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    auto& keyboard = editor.getKeyboard();
    auto& chord = editor.getHeldChordDisplay();

    const auto hold = [&] (std::initializer_list<int> notes, bool on)
    {
        juce::AudioBuffer<float> audio (2, 256);
        juce::MidiBuffer midi;
        for (auto note : notes)
            midi.addEvent (on ? juce::MidiMessage::noteOn (1, note, (juce::uint8) 100) : juce::MidiMessage::noteOff (1, note), 0);
        processor.processBlock (audio, midi);
    };

    for (auto size : { juce::Point<int> (1000, 800), juce::Point<int> (1244, 935), juce::Point<int> (2000, 1500) })
    {
        editor.setSize (size.x, size.y);
        EXPECT_GE (keyboard.getKeyWidth(), 16.0f) << size.toString();
        EXPECT_LE (keyboard.getLowestVisibleKey(), 48) << "the middle of the range shows first, " << size.toString();
        EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 72) << size.toString();
        EXPECT_EQ (chord.getY(), keyboard.getY()) << "the chord's name stands beside the keys";
        EXPECT_EQ (chord.getRight() < keyboard.getX(), true);
    }

    editor.setSize (1000, 800);
    EXPECT_EQ (chord.getChordName(), "");

    // The wheel scrolls the keys, and they stay where it left them.
    const auto before = keyboard.getLowestVisibleKey();
    window.wheel (keyboard, 0.2f);
    const auto scrolled = keyboard.getLowestVisibleKey();
    EXPECT_NE (scrolled, before);
    EditorWindow::pump (100);
    EXPECT_EQ (keyboard.getLowestVisibleKey(), scrolled);

    // A chord high up comes into view by itself, and is named.
    hold ({ 100, 104, 107, 110 }, true);
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (110); }));
    EXPECT_LE (keyboard.getLowestVisibleKey(), 100);
    EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 110);
    EXPECT_EQ (chord.getChordName(), "E7");
    EditorWindow::pump (100);
    window.saveScreenshot ("high chord");

    hold ({ 100, 104, 107, 110 }, false);
    hold ({ 36, 43 }, true); // above the keyswitch octave, C0 .. B0
    EXPECT_TRUE (EditorWindow::pumpUntil ([&] { return keyboard.isShownHeld (36); }));
    EXPECT_LE (keyboard.getLowestVisibleKey(), 36);
    EXPECT_GE (keyboard.getHighestFullyVisibleKey(), 43);
    EXPECT_EQ (chord.getChordName(), "C5");
    window.saveScreenshot ("low chord");
}

TEST_F (EditorLayoutLook, nothingClickableIsSmallerThanSixteenPixelsAtScaleOne)
{
    Cadenzium2AudioProcessor processor;
    processor.getToastManager().takeToasts();
    ControllerType modulation;
    modulation.type = tarn::ControllerLane::controlChange;
    modulation.number = 1;
    EditCommands (processor).newController (modulation);
    EditorWindow window (processor);
    auto& editor = editorOf (window);
    window.click (EditorWindow::get ("lane_0")); // the lane's curve tools show
    ASSERT_TRUE (EditorWindow::get ("curve_pencil_tool").isShowing());

    for (auto size : { juce::Point<int> (1000, 800), juce::Point<int> (1244, 935) })
    {
        editor.setSize (size.x, size.y);

        for (const auto* view : { "playback", "generation" })
        {
            editor.setSidebarView (view);
            EditorWindow::pump (50);
            juce::StringArray small;
            int checked = 0;

            std::function<void (juce::Component&)> visit = [&] (juce::Component& c)
            {
                if (! c.isShowing())
                    return;

                const auto clickable = dynamic_cast<juce::Button*> (&c) != nullptr || dynamic_cast<juce::ComboBox*> (&c) != nullptr
                                    || dynamic_cast<juce::Slider*> (&c) != nullptr;
                const auto visible = editor.getLocalArea (&c, c.getLocalBounds()).getIntersection (editor.getLocalBounds());

                if (clickable && ! visible.isEmpty())
                {
                    ++checked;
                    if (std::min (c.getWidth(), c.getHeight()) < 16)
                        small.add (c.getComponentID() + " " + c.getName() + " " + c.getBounds().toString());
                }

                for (auto* child : c.getChildren())
                    visit (*child);
            };
            visit (editor);

            EXPECT_GT (checked, 50) << view;
            EXPECT_EQ (small.joinIntoString ("\n"), "") << view << " at " << size.toString();
        }
    }
}

} // namespace cadenzium::test
