#include "BrindlexProcessor.h"

#include "UserFolders.h"

#include <tarn/util/SafeXml.h>
#include <tarn/util/TextFiles.h>
#include <tarn/util/ValueTreeText.h>

#include <optional>

namespace brindlex
{
namespace
{
    const juce::Identifier presetPathProperty { "preset_path" };

    /** "VC2!" as a little-endian word: the framework's own container for XML state. */
    constexpr juce::uint32 stateMagic = 0x21324356;
    constexpr const char* presetAuthorKey = "preset_author_name";

    bool isMessageThread()
    {
        auto* manager = juce::MessageManager::getInstanceWithoutCreating();
        return manager == nullptr || manager->isThisTheMessageThread();
    }
} // namespace

//==============================================================================
/** The processor as the preset library sees it. */
class BrindlexProcessor::PresetHooks final : public tarn::PresetManager::Owner
{
public:
    explicit PresetHooks (BrindlexProcessor& p)
        : processor (p)
    {
    }

    juce::CriticalSection& getStateLock() override { return processor.stateLock; }
    void storeParameterSnapshot() override { processor.storeParameterSnapshot(); }
    void writeStateTree() override { processor.writeStateTree(); }

    void readStateTree (const juce::ValueTree& state, bool applyParameterSnapshot) override
    {
        processor.readStateTree (state, applyParameterSnapshot);
    }

    void presetLibraryChanged() override
    {
        processor.updateHostDisplay (ChangeDetails()
                                         .withLatencyChanged (true)
                                         .withParameterInfoChanged (true)
                                         .withProgramChanged (true));
    }

    void presetAuthorUsed (const juce::String& author) override
    {
        processor.getSettings().setValue (presetAuthorKey, author);
        processor.getSettings().saveNow();
    }

    void removeNonPresetState (juce::ValueTree& state) override { processor.removeNonPresetState (state); }

private:
    BrindlexProcessor& processor;
};

/** A program change from a host thread, waiting for the message thread. Only the latest
    request counts; a host state restore after it makes it void. */
class BrindlexProcessor::PendingProgramChange final : private juce::AsyncUpdater
{
public:
    explicit PendingProgramChange (BrindlexProcessor& p)
        : processor (p)
    {
    }
    ~PendingProgramChange() override { cancelPendingUpdate(); }

    void request (int index, juce::uint32 restoresSoFar)
    {
        latestRequest.store (((juce::uint64) restoresSoFar << 32) | (juce::uint32) index);
        triggerAsyncUpdate();
    }

    void cancel() { cancelPendingUpdate(); }

private:
    void handleAsyncUpdate() override
    {
        const auto packed = latestRequest.load();
        processor.applyProgramChange ((int) (juce::uint32) packed, (juce::uint32) (packed >> 32));
    }

    BrindlexProcessor& processor;
    std::atomic<juce::uint64> latestRequest { 0 };
};

//==============================================================================
BrindlexProcessor::BrindlexProcessor (const BusesProperties& buses,
                                      const juce::String& productNameToUse,
                                      juce::AudioProcessorValueTreeState::ParameterLayout layout)
    : tarn::AudioProcessor (buses, makeStateType (productNameToUse), std::move (layout))
    , productName (productNameToUse)
    , millisecondClock ([]
                        { return juce::Time::getMillisecondCounter(); })
    , presetHooks (std::make_unique<PresetHooks> (*this))
    , presets (*presetHooks,
               parameters,
               toasts,
               findFactoryPresetFolder (productNameToUse),
               getUserPresetFolder (productNameToUse))
    , pendingProgramChange (std::make_unique<PendingProgramChange> (*this))
{
    const auto folder = getUserFolder();
    settings = std::make_unique<BrindlexSettings> (folder.getChildFile ("settings.settings"));

    const auto logFile = folder.getChildFile ("log.log");

    if (! logFile.existsAsFile())
        logFile.create();

    logger = BrindlexLogger::acquire (logFile);

    // The program list must be complete before the host first asks for it.
    presets.refresh();

    if (! presets.hasFactoryPresets())
        toasts.addToast ("No factory presets found! Please reinstall the plugin.", tarn::Toast::error);
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

juce::File BrindlexProcessor::getFactoryPresetFolder (const juce::String& product)
{
    return UserFolders::getProductFolder (product).getChildFile ("Presets").getChildFile ("Factory");
}

juce::File BrindlexProcessor::findFactoryPresetFolder (const juce::String& product)
{
    const auto holdsPresets = [] (const juce::File& folder)
    {
        const juce::RangedDirectoryIterator found (folder, true, juce::String ("*") + tarn::PresetIndex::presetExtension, juce::File::findFiles);
        return folder.isDirectory() && found != juce::RangedDirectoryIterator();
    };

    const auto own = getFactoryPresetFolder (product);

    if (holdsPresets (own))
        return own;

    for (const auto& installed : UserFolders::getInstalledFiles (product, "Presets/Factory"))
        if (holdsPresets (installed))
            return installed;

    return own;
}

juce::File BrindlexProcessor::getUserPresetFolder (const juce::String& product)
{
    return UserFolders::getProductFolder (product).getChildFile ("Presets").getChildFile ("User");
}

void BrindlexProcessor::captureInitialState()
{
    presets.captureInitialState();
}

void BrindlexProcessor::setMillisecondClock (std::function<juce::uint32()> clock)
{
    millisecondClock = std::move (clock);
}

void BrindlexProcessor::processBlock (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    bypassedByHost = false;
    processBlockInternal (audio, midi);
}

void BrindlexProcessor::processBlockBypassed (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    bypassedByHost = true;
    processBlockInternal (audio, midi);
    bypassedByHost = false;
}

void BrindlexProcessor::readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot)
{
    juce::ignoreUnused (applyParameterSnapshot);
    parameters.replaceState (tree);
}

//==============================================================================
void BrindlexProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const juce::ScopedLock sl (stateLock);
    writeStateTree();

    juce::ValueTree copy;
    {
        const juce::ScopedLock tl (treeLock);
        copy = parameters.copyState();
    }

    const juce::var presetPath (presets.getCurrentPresetReference());

    // The container the framework's copyXmlToBinary makes, with the same text, written
    // without the detour through an element tree.
    auto written = false;

    {
        juce::MemoryOutputStream out (destData, false);
        out.writeInt ((int) stateMagic);
        out.writeInt (0);
        written = tarn::ValueTreeText::write (copy, presetPathProperty, presetPath, out) && out.writeByte (0);
    }

    if (written)
    {
        static_cast<juce::uint32*> (destData.getData())[1] = juce::ByteOrder::swapIfBigEndian ((juce::uint32) destData.getSize() - 9);
        return;
    }

    copy.setProperty (presetPathProperty, presetPath, nullptr);

    if (auto xml = copy.createXml())
        copyXmlToBinary (*xml, destData);
}

void BrindlexProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const juce::ScopedLock sl (stateLock);
    lastStateRestoreMs = millisecondClock();
    hasRestoredState = true;
    ++restoreCount;

    // A container that fails the checks, or XML that does not parse, leaves the state as it was.
    const auto tree = readStateContainerTree (data, sizeInBytes);

    if (! tree.isValid() || ! tree.hasType (parameters.state.getType()))
        return;

    {
        const juce::ScopedLock tl (treeLock);
        parameters.replaceState (tree);
    }

    presets.selectPresetByReference (tree[presetPathProperty].toString());
    readStateTree (tree, false);
    presets.stateRestoredByHost();

    // The restored state may name another preset: hosts re-read program names on this.
    updateHostDisplay (ChangeDetails().withProgramChanged (true));
}

namespace
{
    /** Where the container's text lies, or nothing when the magic or the length is wrong. */
    std::optional<std::pair<const char*, size_t>> findContainerText (const void* data, int sizeInBytes)
    {
        if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != stateMagic)
            return std::nullopt;

        const auto length = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));

        if (length <= 0)
            return std::nullopt;

        return std::make_pair (static_cast<const char*> (data) + 8, (size_t) juce::jmin (sizeInBytes - 8, length));
    }
} // namespace

std::unique_ptr<juce::XmlElement> BrindlexProcessor::readStateContainer (const void* data, int sizeInBytes)
{
    const auto text = findContainerText (data, sizeInBytes);

    if (! text.has_value())
        return nullptr;

    juce::MemoryBlock bytes (text->first, text->second);
    return tarn::SafeXml::parse (tarn::TextFiles::decode (std::move (bytes)));
}

juce::ValueTree BrindlexProcessor::readStateContainerTree (const void* data, int sizeInBytes)
{
    const auto text = findContainerText (data, sizeInBytes);

    if (! text.has_value())
        return {};

    if (auto tree = tarn::ValueTreeText::read (text->first, text->second))
        return *tree;

    // Text from elsewhere (an older writer, a hand edit, damage): the careful general way.
    if (const auto xml = readStateContainer (data, sizeInBytes))
        return juce::ValueTree::fromXml (*xml);

    return {};
}

//==============================================================================
int BrindlexProcessor::getNumPrograms()
{
    return presets.getNumPresets();
}

int BrindlexProcessor::getCurrentProgram()
{
    return presets.getCurrentPreset().index;
}

bool BrindlexProcessor::isWithinProgramChangeGuard() const
{
    if (! hasRestoredState.load())
        return false;

    // Unsigned difference: correct across the counter's wrap-around.
    return millisecondClock() - lastStateRestoreMs.load() < programChangeGuardMs;
}

void BrindlexProcessor::setCurrentProgram (int index)
{
    if (isWithinProgramChangeGuard())
    {
        juce::Logger::writeToLog ("Ignoring program change to " + juce::String (index) + " right after a state restore");
        return;
    }

    if (isMessageThread())
    {
        // A newer request than one still waiting: the waiting one must not undo it.
        pendingProgramChange->cancel();
        presets.loadPreset (index);
    }
    else
        pendingProgramChange->request (index, restoreCount.load());
}

void BrindlexProcessor::applyProgramChange (int index, juce::uint32 requestedInRestore)
{
    // A host restore that arrived after the request wins, as it would have on one thread.
    if (requestedInRestore != restoreCount.load())
        return;

    presets.loadPreset (index);
}

const juce::String BrindlexProcessor::getProgramName (int index)
{
    const auto list = presets.getPresetList();

    if (index == 0)
        return list->empty() ? presets.getCurrentPreset().name : list->front().name;

    if (const auto entry = presets.findPreset (index))
        return entry->name;

    toasts.addToast ("Invalid preset index: " + juce::String (index), tarn::Toast::error);
    return {};
}

} // namespace brindlex
