#include "ThemeSelector.h"

namespace tarn
{

JUCE_IMPLEMENT_SINGLETON (ThemeSelector)

ThemeSelector::~ThemeSelector()
{
    clearSingletonInstance();
}

void ThemeSelector::setColourSchemeNumber (int scheme)
{
    if (scheme == schemeNumber)
        return;

    schemeNumber = scheme;
    defaultLookAndFeel.setColourSchemeNumber (scheme);
    sendSynchronousChangeMessage();
}

} // namespace tarn
