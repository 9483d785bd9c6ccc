#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <atomic>
#include <memory>
#include <vector>

/** Tells an LV2 host the values of the plug-in's parameters (its patch properties), as
    patch:Set messages on the plug-in's output: every value when the host asks with a
    patch:Get, the one it names when it names one, and every value after the plug-in is
    activated and after its state is restored.

    JUCE 7's LV2 wrapper sends a parameter only when it changes and leaves patch:Get
    unanswered, so a host never learned a value that a song or a preset left in place (the
    LV2 patch extension and hosts such as Ardour ask with patch:Get and listen to patch:Set). */
class Lv2ParameterAnnouncer
{
public:
    /** Ports are numbered as the wrapper numbers them: the audio inputs and outputs, then the
        atom input and the atom output. [the host's instantiating thread] */
    Lv2ParameterAnnouncer (juce::AudioProcessor& processor, const LV2_URID_Map& map, const juce::String& pluginUri);

    /** Every value goes out with the next block. [any thread] */
    void announceAll() noexcept;

    /** [the host's thread that connects ports: set-up, or the audio thread] */
    void connectPort (uint32_t port, void* data) noexcept;

    /** Reads the host's requests and the output's room before the wrapper runs. [audio thread] */
    void beforeRun() noexcept;

    /** Appends the values asked for to what the wrapper wrote, as far as the output has
        room; the rest go with the next block. [audio thread] */
    void afterRun (uint32_t numFrames) noexcept;

    /** One patch:Set message takes at most this many bytes of the output. */
    static constexpr uint32_t messageBytes = 80;

private:
    void request (size_t parameter) noexcept { pending[parameter].store (true); }

    std::vector<juce::RangedAudioParameter*> parameters;
    std::vector<LV2_URID> propertyUrids;
    std::unique_ptr<std::atomic<bool>[]> pending;

    const uint32_t inputPort, outputPort;
    const LV2_Atom_Sequence* input = nullptr;
    LV2_Atom_Sequence* output = nullptr;
    uint32_t outputCapacity = 0;

    LV2_Atom_Forge forge {}; // its types mapped once; [audio thread] after that
    const LV2_URID atomObject, atomBlank, atomUrid, atomFloat, patchGet, patchSet, patchProperty, patchValue;

    JUCE_DECLARE_NON_COPYABLE (Lv2ParameterAnnouncer)
};
