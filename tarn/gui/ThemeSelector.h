#pragma once

#include "TarnLibLookAndFeel.h"

#include <juce_events/juce_events.h>

namespace tarn
{

/** The colour scheme of every open editor of the process. A product sets it from its
    settings; each editor listens and re-themes itself, so a choice made in one window
    reaches all of them. It also keeps a look-and-feel in that scheme for components that
    are shown outside a themed editor.

    One per process, deleted when the framework shuts down. [message thread]
*/
class ThemeSelector : public juce::ChangeBroadcaster
    , private juce::DeletedAtShutdown
{
public:
    ~ThemeSelector() override;

    /** Stores the scheme and, when it differs, tells every listener at once. */
    void setColourSchemeNumber (int scheme);
    int getColourSchemeNumber() const noexcept { return schemeNumber; }

    /** A look-and-feel in the current scheme, for components without a themed editor. */
    TarnLibLookAndFeel& getDefaultLookAndFeel() noexcept { return defaultLookAndFeel; }

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (ThemeSelector)

private:
    ThemeSelector() = default;

    int schemeNumber = 0;
    TarnLibLookAndFeel defaultLookAndFeel { 0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ThemeSelector)
};

} // namespace tarn
