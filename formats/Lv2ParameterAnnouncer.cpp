#include "Lv2ParameterAnnouncer.h"

#include <lv2/atom/util.h>
#include <lv2/patch/patch.h>

namespace
{
LV2_URID mapUri (const LV2_URID_Map& map, const char* uri) { return map.map (map.handle, uri); }
} // namespace

Lv2ParameterAnnouncer::Lv2ParameterAnnouncer (juce::AudioProcessor& processor, const LV2_URID_Map& map, const juce::String& pluginUri)
    : inputPort ((uint32_t) (processor.getTotalNumInputChannels() + processor.getTotalNumOutputChannels())),
      outputPort (inputPort + 1),
      atomObject (mapUri (map, LV2_ATOM__Object)),
      atomBlank (mapUri (map, LV2_ATOM__Blank)),
      atomUrid (mapUri (map, LV2_ATOM__URID)),
      atomFloat (mapUri (map, LV2_ATOM__Float)),
      patchGet (mapUri (map, LV2_PATCH__Get)),
      patchSet (mapUri (map, LV2_PATCH__Set)),
      patchProperty (mapUri (map, LV2_PATCH__property)),
      patchValue (mapUri (map, LV2_PATCH__value))
{
    auto mapCopy = map; // the forge takes a map it may not keep
    lv2_atom_forge_init (&forge, &mapCopy);

    // The wrapper's parameters, in its order, under the URIs it declares them with.
    for (auto* parameter : processor.getParameters())
    {
        if (auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter))
        {
            parameters.push_back (ranged);
            propertyUrids.push_back (mapUri (map, (pluginUri + ":" + juce::URL::addEscapeChars (ranged->getParameterID(), true)).toRawUTF8()));
        }
    }

    pending = std::make_unique<std::atomic<bool>[]> (parameters.size());
    announceAll();
}

void Lv2ParameterAnnouncer::announceAll() noexcept
{
    for (size_t i = 0; i < parameters.size(); ++i)
        request (i);
}

void Lv2ParameterAnnouncer::connectPort (uint32_t port, void* data) noexcept
{
    if (port == inputPort)
        input = static_cast<const LV2_Atom_Sequence*> (data);
    else if (port == outputPort)
        output = static_cast<LV2_Atom_Sequence*> (data);
}

void Lv2ParameterAnnouncer::beforeRun() noexcept
{
    // The host gives the output's room in its size; the wrapper overwrites that with what it writes.
    outputCapacity = output != nullptr ? output->atom.size : 0;

    if (input == nullptr)
        return;

    LV2_ATOM_SEQUENCE_FOREACH (input, event)
    {
        if (event->body.type != atomObject && event->body.type != atomBlank)
            continue;

        const auto* object = reinterpret_cast<const LV2_Atom_Object*> (&event->body);

        if (object->body.otype != patchGet)
            continue;

        const LV2_Atom* property = nullptr;
        lv2_atom_object_get (object, patchProperty, &property, 0);

        if (property == nullptr)
        {
            announceAll();
            continue;
        }

        if (property->type != atomUrid)
            continue;

        const auto asked = reinterpret_cast<const LV2_Atom_URID*> (property)->body;

        for (size_t i = 0; i < propertyUrids.size(); ++i)
            if (propertyUrids[i] == asked)
                request (i);
    }
}

void Lv2ParameterAnnouncer::afterRun (uint32_t numFrames) noexcept
{
    if (output == nullptr || outputCapacity < sizeof (LV2_Atom_Sequence_Body))
        return;

    // Continues the sequence the wrapper wrote, after its last event.
    LV2_Atom_Forge_Frame sequence {};
    lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (output), sizeof (LV2_Atom) + outputCapacity);
    forge.offset = (uint32_t) sizeof (LV2_Atom) + output->atom.size;

    if (output->atom.size < sizeof (LV2_Atom_Sequence_Body) || forge.offset + 8 > forge.size)
        return;

    lv2_atom_forge_push (&forge, &sequence, (LV2_Atom_Forge_Ref) output);
    lv2_atom_forge_pad (&forge, output->atom.size);
    const auto lastFrame = (int64_t) (numFrames > 0 ? numFrames - 1 : 0);

    for (size_t i = 0; i < parameters.size() && forge.offset + messageBytes <= forge.size; ++i)
    {
        if (! pending[i].exchange (false))
            continue;

        LV2_Atom_Forge_Frame object {};
        lv2_atom_forge_frame_time (&forge, lastFrame);
        lv2_atom_forge_object (&forge, &object, 0, patchSet);
        lv2_atom_forge_key (&forge, patchProperty);
        lv2_atom_forge_urid (&forge, propertyUrids[i]);
        lv2_atom_forge_key (&forge, patchValue);
        lv2_atom_forge_float (&forge, parameters[i]->convertFrom0to1 (parameters[i]->getValue()));
        lv2_atom_forge_pop (&forge, &object);
    }

    lv2_atom_forge_pop (&forge, &sequence);
}
