#include "Cadenzium2AudioProcessor.h"

// The plug-in wrappers create every instance through this.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Cadenzium2AudioProcessor();
}
