#include "RegenerationPanel.h"

#include "ControlTables.h"

RegenerationPanel::RegenerationPanel (Callback regenerate)
    : tarn::VerticalControlPanel ("Regeneration")
{
    jassert (regenerate != nullptr);

    std::vector<juce::Component*> row;
    for (auto& entry : ControlTables::regeneration())
    {
        auto* button = buttons.add (std::make_unique<tarn::CommandButton> (entry.name));
        button->setComponentID ("regenerate_" + juce::String (entry.name).toLowerCase());
        button->setTooltip (entry.tooltip);
        button->onClick = [regenerate, target = entry.target]
        { regenerate (target); };
        row.push_back (button);

        // Two to a row; the last one alone.
        if (row.size() == 2)
            addRow (std::exchange (row, {}));
    }

    if (! row.empty())
        addRow (row);
}
