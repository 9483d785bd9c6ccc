// Every control of the two sidebars, built from the panels' tables: it is there under its
// identifier with its tooltip, and follows (and drives) exactly the parameter(s) it names.

#include <source/editor/panels/ControlTables.h>
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

/** The parameter's value as the control should show it: a menu or a row of buttons shows
    the step's index, everything else the value itself. */
float expectedShown (juce::Component& control, const juce::RangedAudioParameter& parameter)
{
    const auto value = parameter.convertFrom0to1 (parameter.getValue());
    const auto stepped = dynamic_cast<tarn::params::Combo*> (&control) != nullptr
                      || dynamic_cast<tarn::params::ChoiceButtons*> (&control) != nullptr;
    return stepped ? value - parameter.getNormalisableRange().start : value;
}

/** Moves each named parameter to both ends of its range and checks the control follows every move. */
void expectFollowsParameters (juce::Component& control, juce::AudioProcessorValueTreeState& state, const ControlEntry& expected)
{
    std::vector<std::pair<const char*, int>> parameters { { expected.parameterId, 0 } };
    if (expected.secondParameterId != nullptr)
        parameters.push_back ({ expected.secondParameterId, 1 });

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

void expectTables (juce::Component& sidebar, juce::AudioProcessorValueTreeState& state,
                   std::initializer_list<const std::vector<ControlEntry>*> tables)
{
    for (const auto* table : tables)
    {
        for (const auto& entry : *table)
        {
            SCOPED_TRACE (entry.componentId);
            auto* control = findById (sidebar, entry.componentId);
            ASSERT_NE (control, nullptr);
            EXPECT_EQ (tooltipOf (*control), juce::String (entry.tooltip));

            if (entry.parameterId != nullptr)
                expectFollowsParameters (*control, state, entry);
        }
    }
}
} // namespace

TEST (SidebarControls, everyControlOfBothSidebarsShowsItsTooltipAndFollowsTheParameterItNames)
{
    Cadenzium2AudioProcessor processor;
    auto& state = processor.getParameterState();
    PlaybackSidebar playback (processor);
    playback.setSize (240, 1200);
    GenerationSidebar generation (processor, [] (consts::RegenerationMode) {}, [] {});
    generation.setSize (240, 1500);

    namespace T = ControlTables;
    expectTables (playback, state, { &T::keyswitches(), &T::input(), &T::modifiers(), &T::passthrough() });
    expectTables (generation, state, { &T::noteGeneration(), &T::modifierGeneration(), &T::mutation() });
}

TEST (SidebarControls, movingAControlWritesItsParameter)
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
    range->getComboBox().setSelectedItemIndex (5, juce::sendNotificationSync);
    EXPECT_EQ (state.getRawParameterValue ("keyswitch_range")->load(), 5.0f);

    auto* output = dynamic_cast<tarn::params::RangeSlider*> (findById (sidebar, "note_output_range_low"));
    ASSERT_NE (output, nullptr);
    output->getSlider().setMinAndMaxValues (36.0, 48.0, juce::sendNotificationSync);
    EXPECT_EQ (state.getRawParameterValue ("note_output_range_low")->load(), 36.0f);
    EXPECT_EQ (state.getRawParameterValue ("note_output_range_high")->load(), 48.0f);
    EXPECT_EQ (output->getValueText(), "C1 - C2");
}
