#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace tarn
{
/** A captioned group of controls whose body folds away under its caption: a click on the
    caption opens or collapses it. Subclasses own the controls, add them as children and lay
    them out in the body; the panel hides them while it is collapsed.

    All members: [message thread].
*/
class Panel : public juce::Component
{
public:
    explicit Panel (const juce::String& caption);
    ~Panel() override;

    const juce::String& getCaption() const noexcept { return caption; }

    /** Opens or collapses the body; with sendNotification, onCollapsedChange is called when
        the state changed. */
    void setCollapsed (bool shouldBeCollapsed, juce::NotificationType notification = juce::sendNotification);
    bool isCollapsed() const noexcept { return collapsed; }

    /** The height the panel needs at this width: its caption alone while collapsed. */
    int getPreferredHeight (int width) const;

    /** Called after the user (or setCollapsed with a notification) opened or collapsed it. */
    std::function<void()> onCollapsedChange;

    /** The caption strip, which a click toggles. */
    juce::Button& getCaptionButton() noexcept;

    void paint (juce::Graphics& g) override;
    void resized() override;

protected:
    /** Height of the body below the caption for a body of this width. */
    virtual int getBodyHeight (int bodyWidth) const = 0;

    /** Places the body's children inside `area` (panel coordinates). Called while open. */
    virtual void layoutBody (juce::Rectangle<int> area) = 0;

    /** The inner padding around the body, from the theme. */
    int getPadding() const;

private:
    class CaptionButton;

    int getCaptionHeight() const;
    void showBody (bool shouldShow);

    juce::String caption;
    bool collapsed = false;
    std::unique_ptr<CaptionButton> captionButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Panel)
};
} // namespace tarn
