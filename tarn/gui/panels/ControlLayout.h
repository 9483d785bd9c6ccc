#pragma once

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
};
} // namespace tarn
