#include <source/editor/panels/ControlTables.h>
#include <source/editor/panels/ControllerGenerationPanel.h>
#include <source/editor/panels/InputPanel.h>
#include <source/editor/panels/RegenerationPanel.h>
#include <source/commands/EditCommands.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/gui/params/Combo.h>

#include <gtest/gtest.h>

namespace
{
void pumpMessages()
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}

ControllerType controlChange (int number, int channel = 1)
{
    ControllerType type;
    type.type = tarn::ControllerLane::controlChange;
    type.number = number;
    type.channel = channel;
    return type;
}
} // namespace

TEST (RegenerationPanel, itsButtonsStandInTheTablesOrderAndEachRegeneratesItsOwnTarget)
{
    std::vector<consts::RegenerationMode> asked, expected;
    RegenerationPanel panel ([&] (consts::RegenerationMode target)
                             { asked.push_back (target); });
    const auto& table = ControlTables::regeneration();
    ASSERT_EQ (panel.getNumButtons(), (int) table.size());
    EXPECT_EQ (panel.getCaption(), "Regeneration");

    for (int i = 0; i < panel.getNumButtons(); ++i)
    {
        EXPECT_EQ (panel.getButton (i).getButtonText(), table[(size_t) i].name);
        EXPECT_EQ (panel.getButton (i).getTooltip(), table[(size_t) i].tooltip);
        panel.getButton (i).triggerClick();
        expected.push_back (table[(size_t) i].target);
    }
    pumpMessages();
    EXPECT_EQ (asked, expected);
}

TEST (ControllerGenerationPanel, itFollowsTheLanesAndEachControlWritesItsLanesSettings)
{
    Cadenzium2AudioProcessor processor;
    ControllerGenerationPanel panel (processor);
    panel.setSize (220, 400);
    EXPECT_EQ (panel.getNumControllers(), 0);

    EditCommands commands (processor);
    ASSERT_TRUE (commands.newController (controlChange (1)));
    ASSERT_TRUE (commands.newController (controlChange (74, 2)));
    pumpMessages();
    ASSERT_EQ (panel.getNumControllers(), 2);

    auto& second = panel.getController (1);
    second.getEnableButton().setToggleState (true, juce::sendNotificationSync);
    second.getDensitySlider().setValue (40.0, juce::sendNotificationSync);
    second.getRangeSlider().setMinAndMaxValues (0.25, 0.75, juce::sendNotificationSync);

    const auto settings = processor.getControllerGenerationSettings();
    EXPECT_FALSE ((bool) settings.getChild (0)["enable"]);
    EXPECT_TRUE ((bool) settings.getChild (1)["enable"]);
    EXPECT_EQ ((double) settings.getChild (1)["density"], 40.0);
    EXPECT_EQ ((double) settings.getChild (1)["range_min"], 0.25);
    EXPECT_EQ ((double) settings.getChild (1)["range_max"], 0.75);
    EXPECT_EQ (second.getRangeText(), "32 - 95"); // the values a CC lane then draws
    EXPECT_EQ (second.getDensityText(), "40%");

    // The first lane goes: the second keeps its settings (they belong to the lane).
    ASSERT_TRUE (commands.deleteController (0));
    pumpMessages();
    ASSERT_EQ (panel.getNumControllers(), 1);
    EXPECT_TRUE (panel.getController (0).getEnableButton().getToggleState());
    EXPECT_EQ (panel.getController (0).getDensitySlider().getValue(), 40.0);
}

TEST (InputPanel, aLineUnderTheRetriggerMenuSaysWhatTheChoiceDoes)
{
    Cadenzium2AudioProcessor processor;
    InputPanel panel (processor.getParameterState());
    EXPECT_EQ (panel.getRetriggerDescription().getText(), InputPanel::describeRetrigger (0));

    auto* combo = dynamic_cast<tarn::params::Combo*> (panel.findControl ("input_retrigger"));
    ASSERT_NE (combo, nullptr);
    const juce::StringArray choices { "Off", "Note On & Off", "Note On", "Note Off", "All Notes Off" };
    ASSERT_EQ (combo->getComboBox().getNumItems(), choices.size());
    juce::StringArray descriptions;

    for (int i = 0; i < choices.size(); ++i)
    {
        EXPECT_EQ (combo->getComboBox().getItemText (i), choices[i]);
        combo->getComboBox().setSelectedItemIndex (i, juce::sendNotificationSync);
        EXPECT_EQ (panel.getRetriggerDescription().getText(), InputPanel::describeRetrigger (i));
        EXPECT_EQ (processor.getIntParameterValue ("input_retrigger"), i);
        descriptions.addIfNotAlreadyThere (panel.getRetriggerDescription().getText());
    }

    EXPECT_EQ (descriptions.size(), choices.size()) << "every choice has its own description";
}
