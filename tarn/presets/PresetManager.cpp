#include "PresetManager.h"

#include "PresetReference.h"

#include <tarn/util/AtomicFile.h>

namespace tarn
{
namespace
{
    const juce::Identifier presetPathProperty { "preset_path" };

    bool isMessageThread()
    {
        // Without a message manager (a command-line tool) the caller's thread is the only one.
        auto* manager = juce::MessageManager::getInstanceWithoutCreating();
        return manager == nullptr || manager->isThisTheMessageThread();
    }
} // namespace

PresetManager::PresetManager (Owner& ownerToUse,
                              juce::AudioProcessorValueTreeState& parametersToUse,
                              ToastManager& toastsToUse,
                              juce::File factoryRootToUse,
                              juce::File userRootToUse)
    : factoryRoot (std::move (factoryRootToUse))
    , userRoot (std::move (userRootToUse))
    , owner (ownerToUse)
    , parameters (parametersToUse)
    , stateType (parametersToUse.state.getType())
    , toasts (toastsToUse)
    , indexTree (PresetIndex().getTree())
    , presetList (std::make_shared<const std::vector<PresetInfo>>())
{
    parameters.processor.addListener (this);
}

PresetManager::~PresetManager()
{
    parameters.processor.removeListener (this);
    cancelPendingUpdate();
}

//==============================================================================
void PresetManager::captureInitialState()
{
    jassert (initialState == nullptr); // once, at the end of the processor's construction

    if (initialState == nullptr)
        initialState = copyStateAsXml();
}

std::unique_ptr<juce::XmlElement> PresetManager::copyStateAsXml()
{
    juce::ValueTree state;
    {
        const juce::ScopedLock sl (owner.getStateLock());
        owner.writeStateTree();
        state = parameters.copyState();
    }

    auto xml = state.createXml();

    if (xml != nullptr)
        xml->removeAttribute (presetPathProperty);

    return xml;
}

juce::ValueTree PresetManager::copyPresetContent()
{
    juce::ValueTree state;
    {
        const juce::ScopedLock sl (owner.getStateLock());
        owner.writeStateTree();
        state = parameters.copyState();
    }

    state.removeProperty (presetPathProperty, nullptr);
    owner.removeNonPresetState (state);
    return state;
}

void PresetManager::rememberPresetContent()
{
    presetContent = copyPresetContent();
    referencePending = false;
    contentMayHaveChanged = false;
    modified = false;
}

bool PresetManager::isCurrentPresetModified()
{
    jassert (isMessageThread());

    if (referencePending.load())
        rememberPresetContent();
    else if (contentMayHaveChanged.exchange (false))
        modified = ! copyPresetContent().isEquivalentTo (presetContent);

    return modified;
}

std::unique_ptr<juce::XmlElement> PresetManager::createPresetElement (const juce::String& author,
                                                                      const juce::String& description,
                                                                      const juce::String& categories)
{
    auto xml = copyStateAsXml();

    if (xml != nullptr)
    {
        xml->setAttribute (PresetIndex::ids::author, author);
        xml->setAttribute (PresetIndex::ids::description, description);
        xml->setAttribute (PresetIndex::ids::categories, categories);
    }

    return xml;
}

//==============================================================================
void PresetManager::refresh()
{
    const auto index = PresetIndex::build (factoryRoot, userRoot, stateType);

    // Only ever set: a factory folder that vanishes later does not bring the start-up warning back.
    if (index.hasFactoryPresets())
        factoryPresetsFound = true;

    indexTree = index.getTree();
    auto list = std::make_shared<const std::vector<PresetInfo>> (index.getList());

    {
        const std::lock_guard<std::mutex> guard (listLock);
        presetList = list;

        // The list may have been renumbered: keep the current preset's number in step, so
        // next/previous and the host's current program stay right.
        if (currentPreset.path.isNotEmpty())
            for (const auto& entry : *list)
                if (entry.path == currentPreset.path)
                    currentPreset = entry;
    }

    listeners.call ([] (Listener& l)
                    { l.presetLibraryRefreshed(); });
}

std::shared_ptr<const std::vector<PresetInfo>> PresetManager::getPresetList() const
{
    const std::lock_guard<std::mutex> guard (listLock);
    return presetList;
}

int PresetManager::getNumPresets() const
{
    return (int) getPresetList()->size();
}

std::optional<PresetInfo> PresetManager::findPreset (int index) const
{
    const auto list = getPresetList();

    // An entry's index is its position, unless someone renumbered it by hand.
    if (juce::isPositiveAndBelow (index, (int) list->size()) && (*list)[(size_t) index].index == index)
        return (*list)[(size_t) index];

    for (const auto& entry : *list)
        if (entry.index == index)
            return entry;

    return std::nullopt;
}

PresetInfo PresetManager::getCurrentPreset() const
{
    const std::lock_guard<std::mutex> guard (listLock);
    return currentPreset;
}

void PresetManager::setCurrentPreset (const PresetInfo& preset)
{
    const std::lock_guard<std::mutex> guard (listLock);
    currentPreset = preset;
}

//==============================================================================
bool PresetManager::loadPreset (int index)
{
    jassert (isMessageThread());

    owner.storeParameterSnapshot();

    const auto list = getPresetList();

    if (! juce::isPositiveAndBelow (index, (int) list->size()))
        return false;

    // Index 0 is always the initial state. Without a factory folder it is not the first
    // entry's file, so the initial patch itself becomes current rather than that entry.
    const auto initialEntry = list->front().isInitialPatch() ? list->front() : PresetInfo::makeInitialPatch();
    PresetInfo entry;
    std::unique_ptr<juce::XmlElement> xml;

    if (index == 0)
    {
        entry = initialEntry;

        if (initialState != nullptr)
            xml = std::make_unique<juce::XmlElement> (*initialState);
    }
    else if (const auto found = findPreset (index))
    {
        entry = *found;
        xml = PresetIndex::readDocument (juce::File (entry.path));

        // Listed presets read whole when the library was indexed; one damaged since shows up here.
        if (xml == nullptr)
            toasts.addToast ("Invalid preset", Toast::error);
    }

    return applyPresetXml (std::move (xml), entry, initialEntry);
}

bool PresetManager::loadPresetFile (const juce::File& file)
{
    jassert (isMessageThread());
    owner.storeParameterSnapshot();

    PresetInfo entry;
    entry.name = file.getFileNameWithoutExtension();
    entry.path = file.getFullPathName();
    entry.index = -1;

    for (const auto& listed : *getPresetList())
        if (listed.path == entry.path)
            entry = listed;

    auto xml = PresetIndex::readDocument (file);

    if (xml == nullptr)
    {
        toasts.addToast ("Invalid preset", Toast::error);
        return false;
    }

    xml->setTagName (xml->getTagName().toLowerCase());

    if (! juce::ValueTree::fromXml (*xml).hasType (stateType))
    {
        toasts.addToast ("Invalid preset", Toast::error);
        return false;
    }

    return applyPresetXml (std::move (xml), entry, entry);
}

bool PresetManager::applyPresetXml (std::unique_ptr<juce::XmlElement> xml, PresetInfo entry, const PresetInfo& initialEntry)
{
    if (xml == nullptr)
        return false;

    xml->setTagName (xml->getTagName().toLowerCase());
    auto state = juce::ValueTree::fromXml (*xml);

    if (! state.hasType (stateType))
    {
        toasts.addToast ("Invalid preset", Toast::error);

        if (initialState == nullptr)
            return false;

        state = juce::ValueTree::fromXml (*initialState);
        entry = initialEntry;
    }

    if (onStateAboutToBeApplied != nullptr)
        onStateAboutToBeApplied (state);

    // One section, so a host saving its project on another thread sees the old preset
    // or the new one, never the new parameters over the old phrases.
    const juce::ScopedLock sl (owner.getStateLock());

    parameters.replaceState (state); // takes the parameter state's own lock and clears its undo history
    setCurrentPreset (entry);
    listeners.call ([&entry] (Listener& l)
                    { l.currentPresetChanged (entry); });
    owner.readStateTree (state, true);
    rememberPresetContent();
    return true;
}

bool PresetManager::loadNextPreset()
{
    return loadPreset (getCurrentPreset().index + 1);
}

bool PresetManager::loadPreviousPreset()
{
    return loadPreset (getCurrentPreset().index - 1);
}

//==============================================================================
bool PresetManager::isValidPresetName (const juce::String& name)
{
    if (name.trim().isEmpty())
        return false;

    for (auto c : name)
        if (c == '/' || c < 0x20 || c == 0x7f)
            return false;

    return true;
}

void PresetManager::setOverwriteQuestion (OverwriteQuestion question)
{
    overwriteQuestion = std::move (question);
}

void PresetManager::savePreset (const juce::String& name,
                                const juce::String& author,
                                const juce::String& description,
                                const juce::String& categories,
                                std::function<void (bool saved)> onFinished)
{
    jassert (isMessageThread());

    auto finish = [onFinished] (bool saved)
    {
        if (onFinished != nullptr)
            onFinished (saved);
    };

    // A blank name would write the hidden file "<user root>/.bpre"; a "/" would write
    // somewhere outside the user folder.
    if (name.trim().isEmpty())
    {
        toasts.addToast ("Please enter a name for the preset", Toast::error);
        return finish (false);
    }

    if (! isValidPresetName (name))
    {
        toasts.addToast ("Invalid preset name: " + name, Toast::error);
        return finish (false);
    }

    const auto element = createPresetElement (author, description, categories);
    const auto text = element != nullptr ? element->toString() : juce::String();

    if (text.isEmpty())
    {
        toasts.addToast ("Unable to create a suitable preset file", Toast::error);
        return finish (false);
    }

    // Joined by hand: getChildFile would take a name starting with "~" for the home folder.
    const juce::File target (userRoot.getFullPathName() + juce::File::getSeparatorString() + name + PresetIndex::presetExtension);

    if (! target.exists())
        return finish (writePreset (target, text, author));

    if (overwriteQuestion == nullptr)
        return finish (false);

    juce::WeakReference<PresetManager> weakThis (this);

    overwriteQuestion ("Overwite Preset?",
                       "A preset already exists with that name. Would you like to overwrite it?",
                       [weakThis, target, text, author, finish] (bool overwrite)
                       {
                           if (! overwrite || weakThis == nullptr)
                               return finish (false);

                           finish (weakThis->writePreset (target, text, author));
                       });
}

bool PresetManager::writePreset (const juce::File& target, const juce::String& text, const juce::String& author)
{
    target.getParentDirectory().createDirectory();
    const auto written = AtomicFile::replaceWithText (target, text);

    if (written.failed())
    {
        juce::Logger::writeToLog (written.getErrorMessage());
        toasts.addToast ("Couldn't save preset!", Toast::error);
        return false;
    }

    owner.presetLibraryChanged();
    refresh();

    for (const auto& entry : *getPresetList())
        if (entry.path == target.getFullPathName())
            setCurrentPreset (entry);

    rememberPresetContent();

    owner.presetLibraryChanged();
    toasts.addToast ("Preset saved", Toast::information);

    const auto current = getCurrentPreset();
    listeners.call ([&current] (Listener& l)
                    { l.currentPresetChanged (current); });

    owner.presetAuthorUsed (author);
    return true;
}

//==============================================================================
juce::String PresetManager::getCurrentPresetReference() const
{
    const auto path = getCurrentPreset().path;
    return path.isEmpty() ? path : PresetReference::make (juce::File (path), factoryRoot, userRoot);
}

bool PresetManager::selectPresetByReference (const juce::String& reference)
{
    const auto list = getPresetList();

    // A state without a preset is the Initial Patch's, which has no file.
    if (reference.isEmpty())
    {
        for (const auto& entry : *list)
        {
            if (entry.path.isEmpty())
            {
                setCurrentPreset (entry);
                notifyCurrentPresetChanged();
                return true;
            }
        }
    }

    for (const auto& file : PresetReference::resolve (reference, factoryRoot, userRoot))
    {
        for (const auto& entry : *list)
        {
            if (entry.path.isNotEmpty() && juce::File (entry.path) == file)
            {
                setCurrentPreset (entry);
                notifyCurrentPresetChanged();
                return true;
            }
        }
    }

    return false;
}

void PresetManager::notifyCurrentPresetChanged()
{
    if (isMessageThread())
    {
        cancelPendingUpdate();
        handleAsyncUpdate();
    }
    else
    {
        triggerAsyncUpdate();
    }
}

void PresetManager::handleAsyncUpdate()
{
    const auto current = getCurrentPreset();
    listeners.call ([&current] (Listener& l)
                    { l.currentPresetChanged (current); });
}

void PresetManager::addListener (Listener* listener)
{
    listeners.add (listener);
}

void PresetManager::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

} // namespace tarn
