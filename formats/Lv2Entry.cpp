// The LV2 plug-in's entry points: JUCE's wrapper (its own entry points renamed when it is
// compiled, see the top CMakeLists.txt), with the parameter announcements of
// Lv2ParameterAnnouncer added around its run, activation and state restore.

#include "Lv2ParameterAnnouncer.h"
#include "Lv2Processor.h"

#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/state/state.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <vector>

extern "C" const LV2_Descriptor* juce_lv2_descriptor (uint32_t index);
extern "C" const LV2UI_Descriptor* juce_lv2ui_descriptor (uint32_t index);

namespace
{
// The wrapper makes the processor on the thread that instantiates the plug-in.
thread_local Lv2Processor* lastCreated = nullptr;

/** What the host holds as the plug-in: JUCE's instance and the announcer beside it. */
struct Instance
{
    LV2_Handle wrapped;
    std::unique_ptr<Lv2ParameterAnnouncer> announcer;
};

Instance& instanceOf (LV2_Handle handle) { return *static_cast<Instance*> (handle); }

const LV2_Descriptor& wrapped() { return *juce_lv2_descriptor (0); }

const LV2_State_Interface& wrappedState()
{
    return *static_cast<const LV2_State_Interface*> (wrapped().extension_data (LV2_STATE__interface));
}

const void* findFeature (const LV2_Feature* const* features, const char* uri)
{
    for (auto* const* feature = features; feature != nullptr && *feature != nullptr; ++feature)
        if (std::strcmp ((*feature)->URI, uri) == 0)
            return (*feature)->data;

    return nullptr;
}

LV2_Handle instantiate (const LV2_Descriptor*, double sampleRate, const char* bundle, const LV2_Feature* const* features)
{
    lastCreated = nullptr;
    auto* handle = wrapped().instantiate (&wrapped(), sampleRate, bundle, features);
    const auto* map = static_cast<const LV2_URID_Map*> (findFeature (features, LV2_URID__map));

    if (handle == nullptr || lastCreated == nullptr || map == nullptr)
    {
        if (handle != nullptr)
            wrapped().cleanup (handle);

        return nullptr;
    }

    return new Instance { handle, std::make_unique<Lv2ParameterAnnouncer> (*lastCreated, *map, JucePlugin_LV2URI) };
}

void connectPort (LV2_Handle handle, uint32_t port, void* data)
{
    instanceOf (handle).announcer->connectPort (port, data);
    wrapped().connect_port (instanceOf (handle).wrapped, port, data);
}

void activate (LV2_Handle handle)
{
    wrapped().activate (instanceOf (handle).wrapped);

    // A host may run the plug-in before it listens (Ardour measures latency that way).
    instanceOf (handle).announcer->announceAll();
}

void run (LV2_Handle handle, uint32_t numFrames)
{
    auto& instance = instanceOf (handle);
    instance.announcer->beforeRun();
    wrapped().run (instance.wrapped, numFrames);
    instance.announcer->afterRun (numFrames);
}

void deactivate (LV2_Handle handle) { wrapped().deactivate (instanceOf (handle).wrapped); }

void cleanup (LV2_Handle handle)
{
    std::unique_ptr<Instance> instance (&instanceOf (handle));
    instance->announcer.reset();
    wrapped().cleanup (instance->wrapped);
}

LV2_State_Status saveState (LV2_Handle handle, LV2_State_Store_Function store, LV2_State_Handle state, uint32_t flags, const LV2_Feature* const* features)
{
    return wrappedState().save (instanceOf (handle).wrapped, store, state, flags, features);
}

LV2_State_Status restoreState (LV2_Handle handle, LV2_State_Retrieve_Function retrieve, LV2_State_Handle state, uint32_t flags, const LV2_Feature* const* features)
{
    const auto status = wrappedState().restore (instanceOf (handle).wrapped, retrieve, state, flags, features);
    instanceOf (handle).announcer->announceAll();
    return status;
}

const void* extensionData (const char* uri)
{
    static const LV2_State_Interface state { saveState, restoreState };
    return std::strcmp (uri, LV2_STATE__interface) == 0 ? &state : wrapped().extension_data (uri);
}

// JUCE's editor reaches its processor through the host's instance-access feature, which
// holds our Instance: it is given JUCE's own instance instead.
LV2UI_Handle instantiateUi (const LV2UI_Descriptor*, const char* pluginUri, const char* bundle, LV2UI_Write_Function write,
                            LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    const auto* ui = juce_lv2ui_descriptor (0);
    std::vector<LV2_Feature> copies;
    std::vector<const LV2_Feature*> forwarded;

    for (auto* const* feature = features; feature != nullptr && *feature != nullptr; ++feature)
        copies.push_back (**feature);

    for (auto& feature : copies)
    {
        if (std::strcmp (feature.URI, LV2_INSTANCE_ACCESS_URI) == 0 && feature.data != nullptr)
            feature.data = instanceOf (feature.data).wrapped;

        forwarded.push_back (&feature);
    }

    forwarded.push_back (nullptr);
    return ui->instantiate (ui, pluginUri, bundle, write, controller, widget, forwarded.data());
}
} // namespace

// The LV2 wrapper creates every instance through this.
juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return lastCreated = new Lv2Processor();
}

const LV2_Descriptor* lv2_descriptor (uint32_t index)
{
    if (index != 0)
        return nullptr;

    static const LV2_Descriptor descriptor { wrapped().URI, instantiate, connectPort, activate, run, deactivate, cleanup, extensionData };
    return &descriptor;
}

const LV2UI_Descriptor* lv2ui_descriptor (uint32_t index)
{
    if (index != 0)
        return nullptr;

    static const LV2UI_Descriptor descriptor = []
    {
        auto copy = *juce_lv2ui_descriptor (0);
        copy.instantiate = instantiateUi;
        return copy;
    }();
    return &descriptor;
}
