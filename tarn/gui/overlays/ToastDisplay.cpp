#include "ToastDisplay.h"

#include "PopupKind.h"

namespace tarn
{
namespace
{
    PopupKind toastKind { "toast" };
} // namespace


ToastDisplay::ToastDisplay (ToastManager& toastManager)
    : manager (toastManager)
{
    setInterceptsMouseClicks (false, true);
    setWantsKeyboardFocus (false);

    // Above every dialog, whichever was opened last.
    setAlwaysOnTop (true);
    manager.addListener (this);
    synchronise();
}

ToastDisplay::~ToastDisplay()
{
    manager.removeListener (this);
}

std::vector<ToastComponent*> ToastDisplay::getToastComponents() const
{
    std::vector<ToastComponent*> components;

    for (const auto& toast : shown)
        components.push_back (toast.get());

    return components;
}

void ToastDisplay::toastsChanged (ToastManager&)
{
    synchronise();
}

void ToastDisplay::synchronise()
{
    const auto toasts = manager.getToasts();
    auto isHeld = [&toasts] (juce::uint32 id)
    {
        return std::any_of (toasts.begin(), toasts.end(), [id] (const Toast& t)
                            { return t.id == id; });
    };

    std::erase_if (shown, [&isHeld] (const std::unique_ptr<ToastComponent>& c)
                   { return ! isHeld (c->getToastId()); });

    for (const auto& toast : toasts)
    {
        const auto alreadyShown = std::any_of (shown.begin(), shown.end(), [&toast] (const auto& c)
                                               { return c->getToastId() == toast.id; });

        if (! alreadyShown)
        {
            // Finishing goes through the manager, which tells every display.
            shown.push_back (std::make_unique<ToastComponent> (toast, [this] (juce::uint32 id)
                                                               { manager.removeToast (id); }));
            addAndMakeVisible (*shown.back());
            toastKind.shown();
        }
    }

    resized();
}

void ToastDisplay::keepClearOf (juce::Component* component)
{
    keptClear = component;
    resized();
}

void ToastDisplay::resized()
{
    const auto width = juce::jmin (maxToastWidth, getWidth() - 40);
    auto bottom = getHeight() - bottomMargin;

    if (keptClear != nullptr && keptClear->isShowing() && getParentComponent() != nullptr)
        bottom = std::min (bottom, getLocalArea (keptClear->getParentComponent(), keptClear->getBounds()).getY() - toastGap * 2);

    // The newest sits lowest; older ones move up.
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
    {
        const auto height = (*it)->getHeightForWidth (width);
        (*it)->setBounds ((getWidth() - width) / 2, bottom - height, width, height);
        bottom -= height + toastGap;
    }
}

} // namespace tarn
