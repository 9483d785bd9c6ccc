#pragma once

#include "BrindlexLogger.h"
#include "BrindlexSettings.h"

#include <tarn/processor/TarnAudioProcessor.h>

namespace brindlex
{

/** The maker-level processor: per-user settings and the shared log, the host's state
    container, and program access. Products derive from it and fill in the state tree
    and the block processing.
*/
class BrindlexProcessor : public tarn::AudioProcessor
    , public juce::ChangeListener
    , public juce::ChangeBroadcaster
{
public:
    BrindlexProcessor (const BusesProperties& buses,
                       const juce::String& productName,
                       juce::AudioProcessorValueTreeState::ParameterLayout layout);
    ~BrindlexProcessor() override;

    const juce::String& getProductName() const noexcept { return productName; }

    /** "Cadenzium 2" -> "cadenzium2": the state tree's type and the preset files' root tag. */
    static juce::Identifier makeStateType (const juce::String& productName);

    /** <config>/Brindlex/<product>/ */
    juce::File getUserFolder() const;

    BrindlexSettings& getSettings() noexcept { return *settings; }
    BrindlexLogger& getLogger() noexcept { return *logger; }

    //==============================================================================
    // Product hooks, in the order the state is built and applied.

    /** Reads the "playback" child of a state tree. */
    virtual void readPlaybackNode (const juce::ValueTree& tree) { juce::ignoreUnused (tree); }

    /** Brings the whole state tree up to date with the product's model. */
    virtual void writeStateTree() {}

    /** Records the parameter values a preset load may want to keep. */
    virtual void storeParameterSnapshot() {}

    /** Applies a whole state tree to the product's model. */
    virtual void readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot);

    /** The per-block work. [audio thread] */
    virtual void processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) = 0;

    //==============================================================================
    void processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi) final;
    using tarn::AudioProcessor::processBlock;

    void getStateInformation (juce::MemoryBlock& destData) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    /** When the host last restored a state, on the millisecond counter. */
    juce::uint32 getLastStateRestoreTime() const noexcept { return lastStateRestoreMs.load(); }

    void changeListenerCallback (juce::ChangeBroadcaster* source) override { juce::ignoreUnused (source); }

    //==============================================================================
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram (int index) override { juce::ignoreUnused (index); }
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override { juce::ignoreUnused (index, newName); }

protected:
    /** Held for the whole of a host's state get or set, and by every message-thread
        writer of the state it covers. */
    juce::CriticalSection stateLock;

    /** Held while the state tree itself is copied or swapped. */
    juce::CriticalSection treeLock;

private:
    const juce::String productName;
    std::shared_ptr<BrindlexLogger> logger;
    std::unique_ptr<BrindlexSettings> settings;
    std::atomic<juce::uint32> lastStateRestoreMs { 0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BrindlexProcessor)
};

} // namespace brindlex
