#include "PipelineSettings.h"

#include "ParameterIds.h"

PipelineSettings::PipelineSettings (const juce::AudioProcessorValueTreeState& parameters)
{
    namespace p = ParameterIds;

    const std::array<const char*, numIds> ids { p::enable,
                                                p::keyswitchEnable,
                                                p::keyswitchHold,
                                                p::keyswitchRetrigger,
                                                p::keyswitchRange,
                                                p::inputLatch,
                                                p::inputFill,
                                                p::inputRetrigger,
                                                p::inputCcPassthrough,
                                                p::lockToKey,
                                                p::swingAmount,
                                                p::dawTransportOnly,
                                                p::randomVelocity,
                                                p::velocityScaleLow,
                                                p::velocityScaleHigh,
                                                p::notePassthrough,
                                                p::velocityPassthrough,
                                                p::notePassthroughScale,
                                                p::noteOutputRangeLow,
                                                p::noteOutputRangeHigh };

    for (size_t i = 0; i < ids.size(); ++i)
    {
        auto* value = parameters.getRawParameterValue (ids[i]);
        jassert (value != nullptr);
        values[i] = value != nullptr ? value : &missing;
    }
}
