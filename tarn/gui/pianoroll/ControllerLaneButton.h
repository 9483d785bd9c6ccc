#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarn
{

/** The button of one controller lane: a click shows the lane, a right click opens the lane
    menu, and "Rename" edits the label in place, starting from its current text.
    [message thread] */
class ControllerLaneButton : public juce::Button
{
public:
    explicit ControllerLaneButton (const juce::String& laneName);

    std::function<void()> onMenuRequested;

    /** The text the user typed, when it differs from the label. */
    std::function<void (const juce::String&)> onRenamed;

    void startRenaming();
    bool isRenaming() const noexcept { return editor != nullptr; }

    void paintButton (juce::Graphics&, bool isHighlighted, bool isDown) override;
    void mouseDown (const juce::MouseEvent&) override;
    void resized() override;

private:
    void finishRenaming (bool apply);

    std::unique_ptr<juce::TextEditor> editor;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ControllerLaneButton)
};

} // namespace tarn
