#pragma once

#include "ToastComponent.h"

namespace tarn
{

/** Shows the toasts of a toast manager over the editor, oldest at the top of a column at
    the bottom centre. A toast that finishes is removed from the manager, which drops it
    from the display; the rest close up. Only the toasts take clicks. [message thread] */
class ToastDisplay : public juce::Component
    , private ToastManager::Listener
{
public:
    explicit ToastDisplay (ToastManager& manager);
    ~ToastDisplay() override;

    /** Toasts stand above this component while it is visible (a keyboard whose keys would
        show through them), else at the bottom margin. */
    void keepClearOf (juce::Component* component);

    /** The toasts on screen, oldest first. */
    std::vector<ToastComponent*> getToastComponents() const;

    void resized() override;

    static constexpr int maxToastWidth = 460, toastGap = 6, bottomMargin = 40;

private:
    void toastsChanged (ToastManager& manager) override;
    void synchronise();

    ToastManager& manager;
    juce::Component::SafePointer<juce::Component> keptClear;
    std::vector<std::unique_ptr<ToastComponent>> shown;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ToastDisplay)
};

} // namespace tarn
