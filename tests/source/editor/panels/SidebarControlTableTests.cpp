// Every control of the two sidebars, as the product's manual lists them: it exists, shows
// its tooltip and label, and follows (and drives) exactly the parameter it names. The
// expected texts and identifiers are written out here on purpose rather than read from
// the editor's own tables, so a wrong identifier or text in those tables fails.

#include <source/editor/panels/GenerationSidebar.h>
#include <source/editor/panels/PlaybackSidebar.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/params/ChoiceButtons.h>
#include <tarn/gui/params/Combo.h>
#include <tarn/gui/params/HorizontalSlider.h>
#include <tarn/gui/params/Knob.h>
#include <tarn/gui/params/RangeSlider.h>
#include <tarn/gui/params/Toggle.h>
#include <tests/source/editor/EditorTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
struct ExpectedControl
{
    const char* panel;
    const char* label; // nullptr where the control shows no fixed label
    const char* parameter;
    const char* secondParameter;
    const char* tooltip;
};

const std::vector<ExpectedControl> playbackControls {
    { "Keyswitches", "Enable", "keyswitch_enable", nullptr, "Enable: Enable switching phrases using keyswitches" },
    { "Keyswitches", "Hold", "keyswitch_hold", nullptr, "Hold: The phrase only plays while keeping the keyswitch held" },
    { "Keyswitches", "Retrigger", "keyswitch_retrigger", nullptr, "Retrigger: Keyswitching will retrigger the phrase back to the beginning" },
    { "Keyswitches", "Range", "keyswitch_range", nullptr, "Range: Which octave the keyswitches are in" },
    { "Input", "Latch", "input_latch", nullptr, "Input Latch: Notes will stay playing after note off, and stop when a new input is detected" },
    { "Input", "Fill", "input_fill", nullptr, "Input Fill: Notes will be intelligently created in octaves above what is played in" },
    { "Input", "DAW Timeline", "daw_transport_only", nullptr, "DAW Timeline Only: When disabled, playback will continue when the DAW is stopped" },
    { "Input", "Retrigger", "input_retrigger", nullptr, "Input Retrigger: Any new notes played in will retrigger the sequence" },
    { "Modifiers", "Key Lock", "lock_to_key", nullptr, "Key Lock: Transposes any notes to match the key signature" },
    { "Modifiers", "Swing", "swing_amount", nullptr, "Swing: Set the swing amount" },
    { "Modifiers", "Random Velocity", "random_velocity", nullptr, "Random Velocity: Add a random velocity to each note" },
    { "Modifiers", "V. Low", "velocity_scale_low", nullptr, "Velocity Low: Map the output velocity range from 0-127 to low-high" },
    { "Modifiers", "V. High", "velocity_scale_high", nullptr, "Velocity High: Map the output velocity range from 0-127 to low-high" },
    { "Modifiers", "Output Range", "note_output_range_low", "note_output_range_high", "Output Range: Limit notes to a range" },
    { "Passthrough", "CC Passthrough", "input_cc_passthrough", nullptr, "CC Passthrough: Any controller data will be passed through unmodified" },
    { "Passthrough", "Note Passthrough", "note_passthrough", nullptr, "Note Passthrough: Any non-keyswitch notes will be passed through unmodified" },
    { "Passthrough", "Velocity Passthrough", "velocity_passthrough", nullptr, "Velocity Passthrough: Velocities from the input will be used for the output" },
    { "Passthrough", "Passthrough To Key Lock", "note_passthrough_scale", nullptr, "Passthrough To Key Lock: If enabled, notes that are passed through will be affected by the scale" },
};

const std::vector<ExpectedControl> generationControls {
    { "Note Generation", nullptr, "g_note_mode", nullptr, "Generation Mode: Select unique modes of generation" },
    { "Note Generation", nullptr, "g_note_polyphony", nullptr, "Polyphony Mode: Select different polyphony style" },
    { "Note Generation", nullptr, "g_chord_density", nullptr, "Chord Density: How many notes are generate per chord" },
    { "Note Generation", nullptr, "g_note_density", nullptr, "Note Density: How many notes to generate" },
    { "Note Generation", "Note Length", "g_note_length", nullptr, "Note Length: How long the generated notes are" },
    { "Note Generation", nullptr, "g_note_length_variation", nullptr, "Note Length Variation: How varied the lengths are from the base value" },
    { "Modifiers", nullptr, "g_velocity_min", "g_velocity_max", "Note Velocity: The range of velocity values to generate" },
    { "Modifiers", nullptr, "g_note_chance_min", "g_note_chance_max", "Note Chance: The chance value to generate" },
    { "Modifiers", "Transpose", "g_transpose_min", "g_transpose_max", "Note Transpose: The range of transpose values to generate" },
    { "Modifiers", nullptr, "g_transpose_chance", nullptr, "Note Transpose Chance: The probability of a transpose modifier" },
    { "Modifiers", "Octave", "g_octave_min", "g_octave_max", "Note Octave: The range of octave values to generate" },
    { "Modifiers", nullptr, "g_octave_chance", nullptr, "Note Octave Chance: The probability of a octave modifier" },
    { "Mutation", "Mutate Chance", "m_notes_changed", nullptr, "Chance: The approximate percentage of unlocked notes to mutate. Simultaneous notes are selected together." },
    { "Mutation", nullptr, "m_timing", nullptr, "Timing: Move note starts earlier or later by up to this many editor grid steps. Off keeps the existing timing." },
    { "Mutation", nullptr, "m_pitch", nullptr, "Pitch: Move notes up or down by up to this many available Pitch row assignments, ordered by incoming-note rank. Other row types keep their assignment." },
    { "Mutation", nullptr, "m_length", nullptr, "Length: Shorten or extend notes by up to this percentage of their current length. Zero keeps existing lengths." },
    { "Mutation", nullptr, "m_velocity", nullptr, "Velocity: Raise or lower existing velocities by up to this amount, preserving velocity ranges. Zero keeps existing velocities." },
};

/** What the control shows for parameter `which` (0, or 1 for a range's high bound), in
    the parameter's own units; nothing when the control is of no kind this test knows. */
std::optional<float> shownValue (juce::Component& control, int which)
{
    using namespace tarn::params;

    if (auto* toggle = dynamic_cast<Toggle*> (&control))
        return toggle->getButton().getToggleState() ? 1.0f : 0.0f;
    if (auto* knob = dynamic_cast<Knob*> (&control))
        return (float) knob->getSlider().getValue();
    if (auto* slider = dynamic_cast<HorizontalSlider*> (&control))
        return (float) slider->getSlider().getValue();
    if (auto* range = dynamic_cast<RangeSlider*> (&control))
        return (float) (which == 0 ? range->getSlider().getMinValue() : range->getSlider().getMaxValue());
    if (auto* combo = dynamic_cast<Combo*> (&control))
        return (float) combo->getComboBox().getSelectedItemIndex();
    if (auto* choice = dynamic_cast<ChoiceButtons*> (&control))
        return (float) choice->getSelectedIndex();

    return std::nullopt;
}

juce::String labelOf (juce::Component& control)
{
    using namespace tarn::params;

    if (auto* toggle = dynamic_cast<Toggle*> (&control))
        return toggle->getLabel();
    if (auto* knob = dynamic_cast<Knob*> (&control))
        return knob->getLabel();
    if (auto* slider = dynamic_cast<HorizontalSlider*> (&control))
        return slider->getLabel();
    if (auto* range = dynamic_cast<RangeSlider*> (&control))
        return range->getLabel();
    if (auto* combo = dynamic_cast<Combo*> (&control))
        return combo->getLabel();
    if (auto* choice = dynamic_cast<ChoiceButtons*> (&control))
        return choice->getLabel();
    return {};
}

/** The parameter's value as the control should show it: a menu or a row of buttons shows
    the step's index, everything else the value itself. */
float expectedShown (juce::Component& control, const juce::RangedAudioParameter& parameter)
{
    const auto value = parameter.convertFrom0to1 (parameter.getValue());
    const auto stepped = dynamic_cast<tarn::params::Combo*> (&control) != nullptr
                      || dynamic_cast<tarn::params::ChoiceButtons*> (&control) != nullptr;
    return stepped ? value - parameter.getNormalisableRange().start : value;
}

/** Moves each named parameter to both ends of its range (low bound first for a range, so
    the pair stays ordered) and checks the control follows every move. */
void expectFollowsParameters (juce::Component& control, juce::AudioProcessorValueTreeState& state, const ExpectedControl& expected)
{
    std::vector<std::pair<const char*, int>> parameters { { expected.parameter, 0 } };
    if (expected.secondParameter != nullptr)
        parameters.push_back ({ expected.secondParameter, 1 });

    for (const auto normalised : { 0.0f, 1.0f, 0.0f })
    {
        // A range's bounds move together so the pair stays ordered: both low, then both high.
        for (auto [id, which] : parameters)
        {
            auto* parameter = state.getParameter (id);
            ASSERT_NE (parameter, nullptr) << id;
            parameter->setValueNotifyingHost (which == 1 && normalised == 0.0f && parameters.size() == 2 ? 1.0f : normalised);
        }

        for (auto [id, which] : parameters)
        {
            auto* parameter = state.getParameter (id);
            const auto shown = shownValue (control, which);
            ASSERT_TRUE (shown.has_value()) << id << " is shown by a control of no known kind";
            EXPECT_NEAR (*shown, expectedShown (control, *parameter), 0.01f) << id << " at " << normalised;
        }
    }
}

void expectTable (juce::Component& sidebar, juce::AudioProcessorValueTreeState& state, const std::vector<ExpectedControl>& table)
{
    for (auto& expected : table)
    {
        SCOPED_TRACE (expected.parameter);
        auto* panel = findById (sidebar, expected.panel);
        ASSERT_NE (panel, nullptr) << "panel " << expected.panel;

        auto* control = findById (*panel, expected.parameter);
        ASSERT_NE (control, nullptr) << "no control for " << expected.parameter << " in " << expected.panel;
        EXPECT_EQ (tooltipOf (*control), juce::String (expected.tooltip));

        if (expected.label != nullptr)
        {
            EXPECT_EQ (labelOf (*control), juce::String (expected.label));
        }

        expectFollowsParameters (*control, state, expected);
    }
}
} // namespace

TEST (SidebarControls, everyPlaybackControlShowsItsTooltipAndFollowsTheParameterItNames)
{
    Cadenzium2AudioProcessor processor;
    PlaybackSidebar sidebar (processor);
    sidebar.setSize (240, 1200);

    expectTable (sidebar, processor.getParameterState(), playbackControls);
}

TEST (SidebarControls, everyGenerationControlShowsItsTooltipAndFollowsTheParameterItNames)
{
    Cadenzium2AudioProcessor processor;
    GenerationSidebar sidebar (processor, [] (consts::RegenerationMode) {}, [] {});
    sidebar.setSize (240, 1500);

    expectTable (sidebar, processor.getParameterState(), generationControls);
}

TEST (SidebarControls, movingAControlWritesItsParameterAsOneGesture)
{
    Cadenzium2AudioProcessor processor;
    PlaybackSidebar sidebar (processor);
    auto& state = processor.getParameterState();

    auto* swing = dynamic_cast<tarn::params::HorizontalSlider*> (findById (sidebar, "swing_amount"));
    ASSERT_NE (swing, nullptr);
    swing->getSlider().setValue (40.0, juce::sendNotificationSync);
    EXPECT_NEAR (state.getRawParameterValue ("swing_amount")->load(), 40.0f, 0.01f);

    auto* latch = dynamic_cast<tarn::params::Toggle*> (findById (sidebar, "input_latch"));
    ASSERT_NE (latch, nullptr);
    latch->getButton().setToggleState (true, juce::sendNotificationSync);
    EXPECT_EQ (state.getRawParameterValue ("input_latch")->load(), 1.0f);

    auto* range = dynamic_cast<tarn::params::Combo*> (findById (sidebar, "keyswitch_range"));
    ASSERT_NE (range, nullptr);
    EXPECT_EQ (range->getComboBox().getNumItems(), 11);
    EXPECT_EQ (range->getComboBox().getItemText (10), "C8 : G8");
    range->getComboBox().setSelectedItemIndex (5, juce::sendNotificationSync);
    EXPECT_EQ (state.getRawParameterValue ("keyswitch_range")->load(), 5.0f);

    auto* output = dynamic_cast<tarn::params::RangeSlider*> (findById (sidebar, "note_output_range_low"));
    ASSERT_NE (output, nullptr);
    output->getSlider().setMinAndMaxValues (36.0, 48.0, juce::sendNotificationSync);
    EXPECT_EQ (state.getRawParameterValue ("note_output_range_low")->load(), 36.0f);
    EXPECT_EQ (state.getRawParameterValue ("note_output_range_high")->load(), 48.0f);
    EXPECT_EQ (output->getValueText(), "C1 - C2");
}
