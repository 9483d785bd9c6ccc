#pragma once

#include "PopupKind.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace tarn
{

/** A box beside a part of the window, pointing at it, that holds a small panel of settings
    (a row's settings). A click anywhere outside the box, or Escape, dismisses it.

    It is a child of the editor that covers the editor while it is open, never a window of
    its own and never modal in the framework's sense: it scales with the editor, takes the
    editor's theme, and goes with whoever owns it. The owner keeps it (a unique_ptr) and
    deletes it when it wants it gone; dismissing only hides it, because a dismissal happens
    inside its own mouse and key handlers. [message thread] */
class Callout : public juce::Component
{
public:
    /** Shows `content` (at the size it has) beside `targetArea` (in `editor`'s coordinates). */
    Callout (PopupKind& kind, std::unique_ptr<juce::Component> content, juce::Component& editor,
             juce::Rectangle<int> targetArea);
    ~Callout() override;

    juce::Component& getContent() const noexcept { return *content; }

    /** Hides it and tells onDismissed (once). */
    void dismiss();

    bool isDismissed() const noexcept { return dismissed; }

    /** After a click outside, Escape, or dismiss(). */
    std::function<void()> onDismissed;

    /** Where the box sits, in the editor's coordinates. */
    juce::Rectangle<int> getBoxBounds() const noexcept { return box; }

    /** Lays the box out again beside the target (the editor was resized). */
    void setTargetArea (juce::Rectangle<int> targetArea);

    void paint (juce::Graphics& g) override;
    void resized() override;
    void mouseDown (const juce::MouseEvent& e) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void parentSizeChanged() override;

private:
    std::unique_ptr<juce::Component> content;
    juce::Rectangle<int> target, box;
    juce::Point<float> arrowTip;
    bool dismissed = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Callout)
};

} // namespace tarn
