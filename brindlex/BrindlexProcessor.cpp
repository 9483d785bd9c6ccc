#include "BrindlexProcessor.h"

#include "UserFolders.h"

namespace brindlex
{

BrindlexProcessor::BrindlexProcessor (const BusesProperties& buses,
                                      const juce::String& productNameToUse,
                                      juce::AudioProcessorValueTreeState::ParameterLayout layout)
    : tarn::AudioProcessor (buses, makeStateType (productNameToUse), std::move (layout))
    , productName (productNameToUse)
{
    const auto folder = getUserFolder();
    settings = std::make_unique<BrindlexSettings> (folder.getChildFile ("settings.settings"));

    const auto logFile = folder.getChildFile ("log.log");

    if (! logFile.existsAsFile())
        logFile.create();

    logger = BrindlexLogger::acquire (logFile);
}

BrindlexProcessor::~BrindlexProcessor() = default;

juce::Identifier BrindlexProcessor::makeStateType (const juce::String& name)
{
    return name.toLowerCase().removeCharacters (" \t");
}

juce::File BrindlexProcessor::getUserFolder() const
{
    return UserFolders::getProductFolder (productName);
}

void BrindlexProcessor::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    processBlockInternal (audio, midi);
}

void BrindlexProcessor::readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot)
{
    juce::ignoreUnused (applyParameterSnapshot);
    parameters.replaceState (tree);
}

void BrindlexProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const juce::ScopedLock sl (stateLock);
    writeStateTree();

    juce::ValueTree copy;
    {
        const juce::ScopedLock tl (treeLock);
        copy = parameters.copyState();
    }

    if (auto xml = copy.createXml())
        copyXmlToBinary (*xml, destData);
}

void BrindlexProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const juce::ScopedLock sl (stateLock);
    lastStateRestoreMs = juce::Time::getMillisecondCounter();

    // A container that fails the checks, or XML that does not parse, leaves the state as it was.
    const auto xml = getXmlFromBinary (data, sizeInBytes);

    if (xml == nullptr)
        return;

    const auto tree = juce::ValueTree::fromXml (*xml);

    if (! tree.hasType (parameters.state.getType()))
        return;

    readStateTree (tree, false);

    // The restored state may name another preset: hosts re-read program names on this.
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

const juce::String BrindlexProcessor::getProgramName (int index)
{
    juce::ignoreUnused (index);
    return "Initial Patch";
}

} // namespace brindlex
