#include "Lv2Processor.h"

// The LV2 wrapper creates every instance through this.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new Lv2Processor();
}
