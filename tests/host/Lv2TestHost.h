#pragma once

#include <juce_core/juce_core.h>

#include <lv2/atom/forge.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/patch/patch.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <dlfcn.h>

#include <array>
#include <map>
#include <string>
#include <vector>

namespace cadenzium::test
{

/** The built LV2 plug-in run the way an LV2 host runs it: loaded from its bundle, given the
    features it requires, its ports connected, a block run at a time with messages for its
    atom input, its atom output read back, its state saved and restored through the state
    interface. Two stereo buses, so the atom ports are 4 (in) and 5 (out). */
class Lv2TestHost
{
public:
    static constexpr uint32_t blockSize = 512;
    static constexpr uint32_t inPort = 4, outPort = 5;

    Lv2TestHost (const juce::File& bundle, const char* pluginUri)
    {
        const auto library = bundle.findChildFiles (juce::File::findFiles, false, "*.so")[0];
        handle = dlopen (library.getFullPathName().toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
        const auto entry = handle != nullptr ? reinterpret_cast<const LV2_Descriptor* (*) (uint32_t)> (dlsym (handle, "lv2_descriptor")) : nullptr;
        descriptor = entry != nullptr ? entry (0) : nullptr;

        if (descriptor == nullptr || std::string (descriptor->URI) != pluginUri)
            return;

        lv2_atom_forge_init (&forge, &map);
        const LV2_Feature* features[] = { &mapFeature, &optionsFeature, &boundedFeature, nullptr };
        instance = descriptor->instantiate (descriptor, 48000.0, bundle.getFullPathName().toRawUTF8(), features);

        if (instance == nullptr)
            return;

        for (uint32_t port = 0; port < 4; ++port)
            descriptor->connect_port (instance, port, audio[port].data());

        descriptor->connect_port (instance, inPort, input.data());
        descriptor->connect_port (instance, outPort, output.data());
        descriptor->connect_port (instance, 6, &latency);
        descriptor->connect_port (instance, 7, &freeWheeling);
        descriptor->connect_port (instance, 8, &enabled);
        descriptor->activate (instance);
    }

    ~Lv2TestHost()
    {
        if (instance != nullptr)
        {
            descriptor->deactivate (instance);
            descriptor->cleanup (instance);
        }

        if (handle != nullptr)
            dlclose (handle);
    }

    bool isRunning() const noexcept { return instance != nullptr; }

    LV2_URID urid (const std::string& uri)
    {
        const auto found = urids.emplace (uri, (LV2_URID) urids.size() + 1).first;
        uris[found->second] = uri;
        return found->second;
    }

    std::string uri (LV2_URID id) const { return uris.count (id) ? uris.at (id) : std::string(); }

    /** A patch:Get for the message input: of one property, or of all when none is named. */
    using Message = std::pair<LV2_URID, std::pair<LV2_URID, float>>; // otype, (property, value)

    /** Runs one block with the messages in, and returns the patch:Set messages out as
        property URI -> value, in the order they came. */
    std::vector<std::pair<std::string, float>> runBlock (const std::vector<Message>& messages = {})
    {
        lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (input.data()), input.size() * sizeof (input[0]));
        LV2_Atom_Forge_Frame sequence;
        lv2_atom_forge_sequence_head (&forge, &sequence, 0);

        for (const auto& [otype, property] : messages)
        {
            LV2_Atom_Forge_Frame object;
            lv2_atom_forge_frame_time (&forge, 0);
            lv2_atom_forge_object (&forge, &object, 0, otype);

            if (property.first != 0)
            {
                lv2_atom_forge_key (&forge, urid (LV2_PATCH__property));
                lv2_atom_forge_urid (&forge, property.first);
            }

            if (otype == urid (LV2_PATCH__Set))
            {
                lv2_atom_forge_key (&forge, urid (LV2_PATCH__value));
                lv2_atom_forge_float (&forge, property.second);
            }

            lv2_atom_forge_pop (&forge, &object);
        }

        lv2_atom_forge_pop (&forge, &sequence);

        auto* out = reinterpret_cast<LV2_Atom_Sequence*> (output.data());
        out->atom.type = urid (LV2_ATOM__Sequence);
        out->atom.size = (uint32_t) (output.size() * sizeof (output[0]) - sizeof (LV2_Atom));
        descriptor->run (instance, blockSize);

        std::vector<std::pair<std::string, float>> sets;

        LV2_ATOM_SEQUENCE_FOREACH (out, event)
        {
            if (event->body.type != urid (LV2_ATOM__Object))
                continue;

            const auto* object = reinterpret_cast<const LV2_Atom_Object*> (&event->body);
            const LV2_Atom* property = nullptr;
            const LV2_Atom* value = nullptr;
            lv2_atom_object_get (object, urid (LV2_PATCH__property), &property, urid (LV2_PATCH__value), &value, 0);

            if (object->body.otype == urid (LV2_PATCH__Set) && property != nullptr && value != nullptr && value->type == urid (LV2_ATOM__Float))
                sets.emplace_back (uri (reinterpret_cast<const LV2_Atom_URID*> (property)->body), reinterpret_cast<const LV2_Atom_Float*> (value)->body);
        }

        return sets;
    }

    /** The plug-in's state properties as the state interface saves them. */
    std::map<std::string, std::string> saveState()
    {
        std::map<std::string, std::string> saved;
        stateInterface()->save (instance, [] (LV2_State_Handle self, uint32_t key, const void* value, size_t size, uint32_t, uint32_t)
                                { auto& host = *static_cast<std::pair<Lv2TestHost*, std::map<std::string, std::string>*>*> (self);
                                  (*host.second)[host.first->uri (key)] = std::string (static_cast<const char*> (value), strnlen (static_cast<const char*> (value), size));
                                  return LV2_STATE_SUCCESS; },
                                &(savedTo = { this, &saved }), 0, nullptr);
        return saved;
    }

    /** Restores a state holding one string property, as hosts restore a song or a preset. */
    bool restoreState (const std::string& key, const std::string& value)
    {
        restoring = { urid (key), value };
        return stateInterface()->restore (instance, [] (LV2_State_Handle self, uint32_t asked, size_t* size, uint32_t* type, uint32_t* flags) -> const void*
                                          { auto& host = *static_cast<Lv2TestHost*> (self);
                                            if (asked != host.restoring.first) return nullptr;
                                            *size = host.restoring.second.size() + 1;
                                            *type = host.urid (LV2_ATOM__String);
                                            *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
                                            return host.restoring.second.c_str(); },
                                          this, 0, nullptr)
               == LV2_STATE_SUCCESS;
    }

private:
    const LV2_State_Interface* stateInterface() const { return static_cast<const LV2_State_Interface*> (descriptor->extension_data (LV2_STATE__interface)); }

    static LV2_URID mapUri (LV2_URID_Map_Handle self, const char* uri) { return static_cast<Lv2TestHost*> (self)->urid (uri); }

    void* handle = nullptr;
    const LV2_Descriptor* descriptor = nullptr;
    LV2_Handle instance = nullptr;

    std::map<std::string, LV2_URID> urids;
    std::map<LV2_URID, std::string> uris;
    LV2_URID_Map map { this, mapUri };
    LV2_Feature mapFeature { LV2_URID__map, &map };

    int32_t maxBlock = (int32_t) blockSize;
    std::array<LV2_Options_Option, 2> options { { { LV2_OPTIONS_INSTANCE, 0, urid (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), urid (LV2_ATOM__Int), &maxBlock },
                                                  { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr } } };
    LV2_Feature optionsFeature { LV2_OPTIONS__options, options.data() };
    LV2_Feature boundedFeature { LV2_BUF_SIZE__boundedBlockLength, nullptr };

    LV2_Atom_Forge forge {};
    std::array<std::array<float, blockSize>, 4> audio {};
    std::vector<uint64_t> input = std::vector<uint64_t> (8192), output = std::vector<uint64_t> (8192);
    float latency = 0.0f, freeWheeling = 0.0f, enabled = 1.0f;

    std::pair<Lv2TestHost*, std::map<std::string, std::string>*> savedTo;
    std::pair<LV2_URID, std::string> restoring;
};

} // namespace cadenzium::test
