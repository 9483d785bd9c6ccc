#pragma once

#include <algorithm>

namespace tarn
{
/** What a control tells the panel that lays it out: how tall it wants to be, and how narrow
    it can get before its text no longer fits. Sizes in pixels, from the theme's metrics.
    [message thread] */
class ControlLayout
{
public:
    virtual ~ControlLayout() = default;

    virtual int getPreferredHeight() const = 0;
    virtual int getMinimumWidth() const { return 0; }

    /** How wide the label to the left of the control is, with its gap; 0 for a control
        without one. */
    virtual int getNaturalLabelWidth() const { return 0; }

    /** The panel's label column: every labelled control of a panel starts its control at the
        same x. True when the width changed (the control needs laying out again). */
    bool setLabelColumnWidth (int width) noexcept
    {
        const auto changed = width != labelColumnWidth;
        labelColumnWidth = width;
        return changed;
    }

protected:
    /** The label's width in the panel's column (never less than the label needs). */
    int labelWidthInColumn() const { return std::max (getNaturalLabelWidth(), labelColumnWidth); }

private:
    int labelColumnWidth = 0;
};
} // namespace tarn
