#pragma once

#include <algorithm>
#include <vector>

namespace tarn
{

/** The listeners of one model object, called in the order they were added.

    A listener may add or remove listeners (itself included) while being called: a
    removed one is not called any more, an added one only from the next call on.
    Not thread-safe: every member is for the owner's one thread (normally the message
    thread). Used instead of juce::ListenerList, whose iterator trips GCC 12's
    dangling-pointer check.
*/
template <typename ListenerType>
class ListenerSet
{
public:
    void add (ListenerType* listener)
    {
        if (listener != nullptr && ! contains (listener))
            listeners.push_back (listener);
    }

    void remove (ListenerType* listener)
    {
        listeners.erase (std::remove (listeners.begin(), listeners.end(), listener), listeners.end());
    }

    bool contains (ListenerType* listener) const
    {
        return std::find (listeners.begin(), listeners.end(), listener) != listeners.end();
    }

    int size() const noexcept { return (int) listeners.size(); }

    template <typename Callback>
    void call (Callback&& callback)
    {
        const auto snapshot = listeners;

        for (auto* listener : snapshot)
            if (contains (listener))
                callback (*listener);
    }

private:
    std::vector<ListenerType*> listeners;
};

} // namespace tarn
