#pragma once

#include "Panel.h"

#include <vector>

namespace tarn
{
/** A panel whose controls stand in rows, top to bottom. A row holds one or more controls
    side by side, sharing the width; a flow puts as many equal cells on a line as fit the
    widest of its controls (knobs) and wraps the rest. Heights and minimum widths come from
    the controls (ControlLayout), else the theme's default button height.

    The subclass owns the controls; adding them here makes them children of the panel.
    All members: [message thread].
*/
class VerticalControlPanel : public Panel
{
public:
    using Panel::Panel;

    /** A row of controls sharing the width equally. */
    void addRow (std::vector<juce::Component*> controls);

    /** Controls in equal cells, as many to a line as fit. */
    void addFlow (std::vector<juce::Component*> controls);

    /** Removes every row (the controls stay with their owner, no longer children). */
    void clearRows();

protected:
    int getBodyHeight (int bodyWidth) const override;
    void layoutBody (juce::Rectangle<int> area) override;

    /** Space between rows and between cells. */
    int getGap() const;

private:
    struct Row
    {
        std::vector<juce::Component*> controls;
        bool flows = false;
    };

    int getHeightOf (const juce::Component& control) const;
    int getMinimumWidthOf (const juce::Component& control) const;
    int getRowHeight (const Row& row) const;
    int getColumns (const Row& row, int width) const;
    int getLineCount (const Row& row, int width) const;

    std::vector<Row> rows;
};
} // namespace tarn
