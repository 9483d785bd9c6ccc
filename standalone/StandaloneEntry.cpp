#include "StandaloneProcessor.h"

// The app's wrapper creates its processor through this, with the app's command line.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new StandaloneProcessor (StandaloneOptions::fromArguments (juce::JUCEApplicationBase::getCommandLineParameterArray()));
}
