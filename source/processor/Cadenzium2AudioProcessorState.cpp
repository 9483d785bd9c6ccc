// The processor's saved state: building the state tree, applying a loaded one, and the
// settings nodes the editor keeps with the song.

#include "Cadenzium2AudioProcessor.h"

#include "state/GenerationTree.h"
#include "state/PhraseTree.h"
#include "state/RowTree.h"

namespace
{
const juce::Identifier versionId { "version" };

/** Puts `node` in place of the tree's child of the same type, only when it differs, so an
    unchanged part keeps its node and its listeners hear nothing. */
void replaceChild (juce::ValueTree& tree, const juce::ValueTree& node)
{
    const auto old = tree.getChildWithName (node.getType());

    if (! old.isValid())
        tree.appendChild (node, nullptr);
    else if (! old.isEquivalentTo (node))
        tree.getChild (tree.indexOf (old)).copyPropertiesAndChildrenFrom (node, nullptr);
}

/** True for as long as it lives. */
struct ScopedFlag
{
    explicit ScopedFlag (std::atomic<bool>& f)
        : flag (f)
    {
        flag.store (true);
    }
    ~ScopedFlag() { flag.store (false); }

    std::atomic<bool>& flag;
};
} // namespace

void Cadenzium2AudioProcessor::initialiseState()
{
    // Every writer of the phrases, rows and lanes holds the lock the host's state calls hold.
    phraseManager.useStateLock (stateLock);
    phraseManager.addEditListener (this);
    pianoRollSettings.addListener (this);

    generationSettings.adopt ({}, phraseManager.getControllerTypes());
    lastControllerTypes = phraseManager.getControllerTypes();
}

//==============================================================================
void Cadenzium2AudioProcessor::writeStateTree()
{
    const juce::ScopedLock sl (stateLock);
    auto& tree = parameters.state;

    const juce::ValueTree nodes[] = {
        RowTree::write (phraseManager.getRows()),
        ControllerTypeTree::write (phraseManager.getControllerTypes()),
        PlaybackTree::write (getKeySignature(), getSwingGridChoice(), ParameterSnapshot::capture (*this)),
        SettingsTree::write (pianoRollSettings, editorSettings),
        generationSettings.getNode().createCopy(),
    };

    const juce::ScopedLock tl (treeLock);
    tree.setProperty (versionId, versionString, nullptr);
    phraseTreeSync.write (tree, phraseManager, getRequestedPhrase());

    for (const auto& node : nodes)
        replaceChild (tree, node);
}

void Cadenzium2AudioProcessor::storeParameterSnapshot()
{
    const juce::ScopedLock sl (stateLock);
    const auto snapshot = ParameterSnapshot::capture (*this);

    const juce::ScopedLock tl (treeLock);
    auto playback = parameters.state.getOrCreateChildWithName (PlaybackTree::playbackType, nullptr);
    snapshot.writeInto (playback);
}

void Cadenzium2AudioProcessor::readStateTree (const juce::ValueTree& tree, bool applyParameterSnapshot)
{
    const juce::ScopedLock sl (stateLock);

    {
        // Parts of the old state change one by one below; none of them is news to the host.
        const ScopedFlag reading (readingState);

        // Callers that have not swapped the tree in yet (the host container and the preset
        // loader have) get their parameters applied here.
        if (parameters.state != tree)
        {
            const juce::ScopedLock tl (treeLock);
            parameters.replaceState (tree);
        }

        if (applyParameterSnapshot)
            if (const auto snapshot = ParameterSnapshot::fromPlaybackNode (tree.getChildWithName (PlaybackTree::playbackType)))
                snapshot->applyTo (*this);

        readPlaybackNode (tree);

        const auto viewSettings = tree.getChildWithName (SettingsTree::settingsType);
        SettingsTree::readInto (viewSettings.getChildWithName (SettingsTree::pianoRollType), pianoRollSettings);

        if (const auto editor = viewSettings.getChildWithName (SettingsTree::editorSettingsType); editor.isValid())
            SettingsTree::readInto (SettingsTree::withUsableWindowSize (editor), editorSettings);

        if (const auto types = tree.getChildWithName (ControllerTypeTree::typesType); types.isValid())
            phraseManager.setControllerTypes (ControllerTypeTree::read (types));

        // The rows are rebuilt from whatever the state holds; the sounding notes of the old rows
        // end first so none of them is left hanging.
        phraseManager.setRows (RowTree::read (tree.getChildWithName (RowTree::rowsType)));

        {
            const tarn::AdvancedSequenceManager::ScopedNextPassesFromWorker nextPasses (phraseManager);

            if (const auto current = phraseTreeSync.read (tree.getChildWithName (PhraseTree::sequencesType), phraseManager); current >= 0)
                requestPhrase (current);
        }

        generationSettings.adopt (tree.getChildWithName (ControllerGeneration::Ids::generation), phraseManager.getControllerTypes());
        lastControllerTypes = phraseManager.getControllerTypes();

        requests.playbackRefresh.store (ProcessorRequests::playingPhraseChanged);

        // The old steps would write the previous song's phrases and rows into this one.
        phraseManager.clearUndoHistory();
    }

    // A preset load is the user's change; a host restoring its own project is not.
    if (applyParameterSnapshot)
        stateChangePing.request();
}

void Cadenzium2AudioProcessor::readPlaybackNode (const juce::ValueTree& tree)
{
    const auto playback = tree.getChildWithName (PlaybackTree::playbackType);

    if (const auto key = playback.getChildWithName (PlaybackTree::keySignatureType); key.isValid())
        setKeySignature (KeySignature::fromValueTree (key, getKeySignature()));

    if (const auto rate = PlaybackTree::readSwingRate (playback))
        setSwingGridChoice (*rate);
}

void Cadenzium2AudioProcessor::removeNonPresetState (juce::ValueTree& state)
{
    state.removeChild (state.getChildWithName (SettingsTree::settingsType), nullptr);

    for (auto* id : { ParameterIds::internal, ParameterIds::enable })
        state.removeChild (state.getChildWithProperty ("id", id), nullptr);
}

//==============================================================================
void Cadenzium2AudioProcessor::valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property)
{
    if (tree != pianoRollSettings)
        return;

    juce::Logger::writeToLog ("Piano roll setting changed: " + property.toString());
    announceStateChange();
}

void Cadenzium2AudioProcessor::setPianoRollSetting (const juce::Identifier& property, const juce::var& value)
{
    // The listener above logs the change and tells the host.
    const juce::ScopedLock sl (stateLock);
    pianoRollSettings.setProperty (property, value, nullptr);
}

void Cadenzium2AudioProcessor::setEditorSetting (const juce::Identifier& property, const juce::var& value)
{
    {
        const juce::ScopedLock sl (stateLock);

        if (editorSettings[property] == value)
            return;

        editorSettings.setProperty (property, value, nullptr);
    }

    stateChangePing.request();
}

void Cadenzium2AudioProcessor::setControllerGenerationSetting (int lane, const juce::Identifier& property, const juce::var& value)
{
    {
        const juce::ScopedLock sl (stateLock);
        auto child = generationSettings.getNode().getChild (lane);

        if (! child.isValid() || child[property] == value)
            return;

        child.setProperty (property, value, nullptr);
    }

    stateChangePing.request();
}

//==============================================================================
void Cadenzium2AudioProcessor::rowsChanged()
{
    announceStateChange();
}

void Cadenzium2AudioProcessor::controllerTypesChanged()
{
    const auto& types = phraseManager.getControllerTypes();

    // A state load adopts its own generation settings once everything is read.
    if (! readingState.load())
    {
        const juce::ScopedLock sl (stateLock);
        generationSettings.followEdit (lastControllerTypes, types, phraseManager.getUndoManager().isPerformingUndoRedo());
        lastControllerTypes = types;
    }

    announceStateChange();
}

void Cadenzium2AudioProcessor::announceStateChange()
{
    if (! readingState.load())
        stateChangePing.request();
}
