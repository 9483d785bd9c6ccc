#include "ToastManager.h"

namespace tarn
{

ToastManager::~ToastManager()
{
    cancelPendingUpdate();
}

juce::uint32 ToastManager::addToast (const juce::String& message, int kind)
{
    const auto isError = kind == Toast::error;
    const auto text = isError ? errorPrefix + message : message;

    // Logged before it is held, so the log keeps the error even if the toast is dropped.
    if (isError)
        juce::Logger::writeToLog (text);

    juce::uint32 id = 0;
    {
        const std::lock_guard<std::mutex> guard (lock);
        id = nextId++;
        const auto toastKind = isError ? Toast::error : Toast::information;
        auto count = 1;

        if (const auto same = std::find_if (toasts.begin(), toasts.end(), [&] (const Toast& t)
                                            { return t.text == text && t.kind == toastKind; });
            same != toasts.end())
        {
            count += same->count;
            toasts.erase (same);
        }

        toasts.push_back ({ id, text, toastKind, count });

        if ((int) toasts.size() > maxHeldToasts)
            toasts.erase (toasts.begin(), toasts.end() - maxHeldToasts);
    }

    triggerAsyncUpdate();
    return id;
}

std::vector<Toast> ToastManager::getToasts() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return toasts;
}

std::vector<Toast> ToastManager::takeToasts()
{
    std::vector<Toast> taken;
    {
        const std::lock_guard<std::mutex> guard (lock);
        taken.swap (toasts);
    }

    if (! taken.empty())
        triggerAsyncUpdate();

    return taken;
}

bool ToastManager::removeToast (juce::uint32 id)
{
    {
        const std::lock_guard<std::mutex> guard (lock);
        const auto found = std::find_if (toasts.begin(), toasts.end(), [id] (const Toast& t)
                                         { return t.id == id; });

        if (found == toasts.end())
            return false;

        toasts.erase (found);
    }

    triggerAsyncUpdate();
    return true;
}

int ToastManager::getNumToasts() const
{
    const std::lock_guard<std::mutex> guard (lock);
    return (int) toasts.size();
}

void ToastManager::addListener (Listener* listener)
{
    listeners.add (listener);
}

void ToastManager::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void ToastManager::handleAsyncUpdate()
{
    listeners.call ([this] (Listener& l)
                    { l.toastsChanged (*this); });
}

} // namespace tarn
