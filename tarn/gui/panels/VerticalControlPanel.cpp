#include "VerticalControlPanel.h"

#include "ControlLayout.h"

#include <tarn/gui/Theme.h>

namespace tarn
{
void VerticalControlPanel::addRow (std::vector<juce::Component*> controls)
{
    for (auto* control : controls)
        addChildComponent (control);

    rows.push_back ({ std::move (controls), false });
    resized();
}

void VerticalControlPanel::addFlow (std::vector<juce::Component*> controls)
{
    for (auto* control : controls)
        addChildComponent (control);

    rows.push_back ({ std::move (controls), true });
    resized();
}

void VerticalControlPanel::clearRows()
{
    for (auto& row : rows)
        for (auto* control : row.controls)
            removeChildComponent (control);

    rows.clear();
}

int VerticalControlPanel::getGap() const
{
    return juce::roundToInt (themeMetric (*this, "panelPadding", 20.0f) / 4.0f);
}

int VerticalControlPanel::getHeightOf (const juce::Component& control) const
{
    if (auto* layout = dynamic_cast<const ControlLayout*> (&control))
        return layout->getPreferredHeight();

    return juce::roundToInt (themeMetric (*this, "defaultButtonHeight", 25.0f));
}

int VerticalControlPanel::getMinimumWidthOf (const juce::Component& control) const
{
    if (auto* layout = dynamic_cast<const ControlLayout*> (&control))
        return layout->getMinimumWidth();

    return 0;
}

int VerticalControlPanel::getRowHeight (const Row& row) const
{
    int height = 0;
    for (auto* control : row.controls)
        height = std::max (height, getHeightOf (*control));
    return height;
}

int VerticalControlPanel::getColumns (const Row& row, int width) const
{
    if (! row.flows)
        return std::max (1, (int) row.controls.size());

    int cellWidth = 1;
    for (auto* control : row.controls)
        cellWidth = std::max (cellWidth, getMinimumWidthOf (*control));

    const auto fitting = (width + getGap()) / (cellWidth + getGap());
    return juce::jlimit (1, std::max (1, (int) row.controls.size()), fitting);
}

int VerticalControlPanel::getLineCount (const Row& row, int width) const
{
    const auto columns = getColumns (row, width);
    return ((int) row.controls.size() + columns - 1) / columns;
}

int VerticalControlPanel::getBodyHeight (int bodyWidth) const
{
    int height = 0;
    int lines = 0;

    for (auto& row : rows)
    {
        const auto count = getLineCount (row, bodyWidth);
        height += count * getRowHeight (row);
        lines += count;
    }

    return height + std::max (0, lines - 1) * getGap();
}

void VerticalControlPanel::layoutBody (juce::Rectangle<int> area)
{
    const auto gap = getGap();

    // One label column for the panel: the widest label of a control that has a row to itself,
    // but never more than half the width, so controls start at one x and keep room.
    int labelColumn = 0;
    for (auto& row : rows)
        if (! row.flows && row.controls.size() == 1)
            if (auto* layout = dynamic_cast<const ControlLayout*> (row.controls.front()))
                labelColumn = std::max (labelColumn, layout->getNaturalLabelWidth());

    labelColumn = std::min (labelColumn, area.getWidth() / 2);

    for (auto& row : rows)
        for (auto* control : row.controls)
            if (auto* layout = dynamic_cast<ControlLayout*> (control))
                if (layout->setLabelColumnWidth (! row.flows && row.controls.size() == 1 ? labelColumn : 0))
                    control->resized();

    for (auto& row : rows)
    {
        const auto height = getRowHeight (row);
        const auto columns = getColumns (row, area.getWidth());
        const auto cellWidth = (area.getWidth() - (columns - 1) * gap) / columns;

        for (size_t i = 0; i < row.controls.size(); ++i)
        {
            if (i > 0 && (int) i % columns == 0)
                area.removeFromTop (height + gap);

            const auto column = (int) i % columns;
            // Flows centre a short last line; rows stretch their controls.
            const auto inLine = std::min (columns, (int) row.controls.size() - ((int) i - column));
            const auto offset = row.flows ? (columns - inLine) * (cellWidth + gap) / 2 : 0;
            const auto isLastInRow = ! row.flows && column == columns - 1;
            const auto x = area.getX() + offset + column * (cellWidth + gap);
            const auto width = isLastInRow ? area.getRight() - x : cellWidth;

            row.controls[i]->setBounds (x, area.getY(), width, height);
            row.controls[i]->setVisible (! isCollapsed());
        }

        area.removeFromTop (height + gap);
    }
}
} // namespace tarn
