#pragma once

#include "BrindlexLogger.h"
#include "BrindlexSettings.h"

#include <tarn/presets/PresetManager.h>
#include <tarn/processor/TarnAudioProcessor.h>
#include <tarn/toasts/ToastManager.h>

#include <functional>

namespace brindlex
{

/** The maker-level processor: per-user settings and the shared log, the toasts, the
    preset library, the host's state container, and program access. Products derive
    from it and fill in the state tree and the block processing.

    Hosts on Linux call state and program functions from their own threads (the
    framework's message thread is separate while no editor is open). Program changes
    are therefore carried over to the message thread; host state calls and preset
    loads and saves hold the state lock, as every other writer of the state should.
*/
class BrindlexProcessor : public tarn::AudioProcessor
{
public:
    BrindlexProcessor (const BusesProperties& buses,
                       const juce::String& productName,
                       juce::AudioProcessorValueTreeState::ParameterLayout layout);
    ~BrindlexProcessor() override;

    const juce::String& getProductName() const noexcept { return productName; }

    /** "Cadenzium 2" -> "cadenzium2": the state tree's type and the preset files' root tag. */
    static juce::Identifier makeStateType (const juce::String& productName);

    /** The XML inside a host's state container ("VC2!", a little-endian length, then the XML
        text), read without trusting the length or the text; nullptr when it is not one.
        [any thread] */
    static std::unique_ptr<juce::XmlElement> readStateContainer (const void* data, int sizeInBytes);

    /** The tree inside a host's state container: what ValueTree::fromXml makes of
        readStateContainer(), read straight from the text when it is in the form this
        processor writes. Invalid when the container holds no tree. [any thread] */
    static juce::ValueTree readStateContainerTree (const void* data, int sizeInBytes);

    /** <config>/Brindlex/<product>/ */
    juce::File getUserFolder() const;

    BrindlexSettings& getSettings() noexcept { return *settings; }
    BrindlexLogger& getLogger() noexcept { return *logger; }

    /** Messages for the user, shown by the editor when one is open. [any thread] */
    tarn::ToastManager& getToastManager() noexcept { return toasts; }

    /** The preset library (threads: see its members). */
    tarn::PresetManager& getPresetManager() noexcept { return presets; }

    /** <config>/Brindlex/<product>/Presets/Factory and .../User: the user's own folders. */
    static juce::File getFactoryPresetFolder (const juce::String& productName);
    static juce::File getUserPresetFolder (const juce::String& productName);

    /** The factory presets the library shows: the user's own factory folder when it holds
        a preset, otherwise the first installed one that does (<system data>/<package>/Presets/Factory);
        the user's own folder when none does. */
    static juce::File findFactoryPresetFolder (const juce::String& productName);

    /** Records the state the Initial Patch stands for. The product calls it once, as
        the last statement of its constructor, when its whole state exists. [message thread] */
    void captureInitialState();

    //==============================================================================
    // Product hooks, in the order the state is built and applied. The tree hooks run
    // with the state lock held: on the message thread for presets, on the host's
    // thread for its state calls.

    /** Reads the "playback" child of a state tree. */
    virtual void readPlaybackNode (const juce::ValueTree& tree) { juce::ignoreUnused (tree); }

    /** Brings the whole state tree up to date with the product's model. */
    virtual void writeStateTree() {}

    /** Records the parameter values a preset load may want to keep. */
    virtual void storeParameterSnapshot() {}

    /** Applies a whole state tree to the product's model. */
    virtual void readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot);

    /** Takes out of a copy of the state tree what does not make it differ from a preset (the
        window's view settings, the host's change pings), for telling whether the loaded
        preset was changed. [message thread] */
    virtual void removeNonPresetState (juce::ValueTree& state) { juce::ignoreUnused (state); }

    /** The per-block work. [audio thread] */
    virtual void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) = 0;

    //==============================================================================
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) final;
    using tarn::AudioProcessor::processBlock;

    /** The host's own bypass (VST2's, VST3's, LV2's "enabled" port): the framework's default
        would pass the MIDI on and leave every note the product started sounding. The
        product's processBlockInternal runs instead, with isBypassedByHost() true, and
        bypasses the way its own switch does. [audio thread] */
    void processBlockBypassed (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) final;
    using tarn::AudioProcessor::processBlockBypassed;

    /** Whether the block being processed is one the host bypassed. [audio thread] */
    bool isBypassedByHost() const noexcept { return bypassedByHost; }

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** When the host last restored a state, on the millisecond clock. [any thread] */
    juce::uint32 getLastStateRestoreTime() const noexcept { return lastStateRestoreMs.load(); }

    /** Replaces the millisecond counter that times the program-change guard (tests use
        a clock of their own). [message thread, before the host starts calling] */
    void setMillisecondClock (std::function<juce::uint32()> clock);

    //==============================================================================
    // Programs are the presets of the library's flat list.

    /** Hosts send the program they stored along with a project's state: a program change
        this soon after a state restore would override the restored state. */
    static constexpr juce::uint32 programChangeGuardMs = 1000;

    int getNumPrograms() override; // [any thread]
    int getCurrentProgram() override; // [any thread]

    /** Loads that preset, on the message thread: at once when called there, otherwise
        shortly after (a restore arriving in between cancels it). Ignored within
        programChangeGuardMs of a host state restore. [any thread] */
    void setCurrentProgram (int index) override;

    const juce::String getProgramName (int index) override; // [any thread]
    void changeProgramName (int index, const juce::String& newName) override { juce::ignoreUnused (index, newName); }

protected:
    /** Held for the whole of a host's state get or set, and by every message-thread
        writer of the state it covers. */
    juce::CriticalSection stateLock;

    /** Held while the state tree itself is copied or swapped. */
    juce::CriticalSection treeLock;

private:
    class PresetHooks;
    class PendingProgramChange;

    bool isWithinProgramChangeGuard() const;
    void applyProgramChange (int index, juce::uint32 requestedInRestore);

    const juce::String productName;
    std::shared_ptr<BrindlexLogger> logger;
    std::unique_ptr<BrindlexSettings> settings;

    std::function<juce::uint32()> millisecondClock;
    std::atomic<juce::uint32> lastStateRestoreMs { 0 };
    std::atomic<bool> hasRestoredState { false };
    std::atomic<juce::uint32> restoreCount { 0 };

    bool bypassedByHost = false; // [audio thread]

    tarn::ToastManager toasts;
    std::unique_ptr<PresetHooks> presetHooks;
    tarn::PresetManager presets;
    std::unique_ptr<PendingProgramChange> pendingProgramChange;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrindlexProcessor)
};

} // namespace brindlex
