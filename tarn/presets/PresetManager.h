#pragma once

#include "PresetIndex.h"

#include <tarn/toasts/ToastManager.h>
#include <tarn/util/ListenerSet.h>

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace tarn
{

/** The preset library: the factory and user folders on disk, their index, the numbered
    flat list the host sees as programs, loading a preset into the processor and saving
    the processor's state as a user preset.

    A preset file is the processor's state tree as XML ("<name>.bpre"), with "author",
    "description" and "categories" on the root element and never "preset_path".
    Files are replaced atomically, so a failed save never costs the old preset.
*/
class PresetManager : private juce::AsyncUpdater
    , private juce::AudioProcessorListener
{
public:
    /** What the library needs from the processor that owns it. */
    class Owner
    {
    public:
        virtual ~Owner() = default;

        /** Held while a preset is captured or applied, so a host saving its project on
            another thread never sees half of a preset. */
        virtual juce::CriticalSection& getStateLock() = 0;

        /** Records the parameter values that a preset load keeps. */
        virtual void storeParameterSnapshot() = 0;

        /** Brings the state tree up to date with the model. */
        virtual void writeStateTree() = 0;

        /** Applies a state tree that has just been swapped in. */
        virtual void readStateTree (const juce::ValueTree& state, bool applyParameterSnapshot) = 0;

        /** The list of presets changed: the host should re-read programs and names. */
        virtual void presetLibraryChanged() = 0;

        /** The author of a saved preset, to offer again next time. */
        virtual void presetAuthorUsed (const juce::String& author) = 0;

        /** Takes out of a copy of the state what does not make it another preset: view
            settings such as the window's size, the host's change pings. */
        virtual void removeNonPresetState (juce::ValueTree& state) { juce::ignoreUnused (state); }
    };

    class Listener
    {
    public:
        virtual ~Listener() = default;

        /** A preset was loaded or saved, or a host restore named one. [message thread] */
        virtual void currentPresetChanged (const PresetInfo& current) = 0;

        /** The folders were scanned again: the index and the list may have changed and
            been renumbered (a save, a bulk import). [message thread] */
        virtual void presetLibraryRefreshed() {}
    };

    /** Asks whether an existing preset may be overwritten: gets the box's title and
        message and a function to call, now or later, with true for OK and false for
        Cancel. The editor answers it with its OK/Cancel box. */
    using OverwriteQuestion = std::function<void (const juce::String& title,
                                                  const juce::String& message,
                                                  std::function<void (bool overwrite)> answer)>;

    PresetManager (Owner& owner,
                   juce::AudioProcessorValueTreeState& parameters,
                   ToastManager& toasts,
                   juce::File factoryRoot,
                   juce::File userRoot);
    ~PresetManager() override;

    const juce::File& getFactoryRoot() const noexcept { return factoryRoot; }
    const juce::File& getUserRoot() const noexcept { return userRoot; }

    /** Records the state the Initial Patch stands for; once, when the processor has
        finished construction. [message thread] */
    void captureInitialState();
    bool hasInitialState() const noexcept { return initialState != nullptr; }

    //==============================================================================
    /** Scans both folders again, renumbers the list and tells the listeners. [message thread] */
    void refresh();

    /** True once any refresh found a factory preset. [any thread] */
    bool hasFactoryPresets() const noexcept { return factoryPresetsFound.load(); }

    /** The index tree of the last refresh. [message thread] */
    const juce::ValueTree& getIndexTree() const noexcept { return indexTree; }

    /** The flat list of the last refresh; the shared list is never changed. [any thread] */
    std::shared_ptr<const std::vector<PresetInfo>> getPresetList() const;
    int getNumPresets() const;

    /** The entry whose index is `index`. [any thread] */
    std::optional<PresetInfo> findPreset (int index) const;

    /** The preset last loaded, saved or named by a host restore. [any thread] */
    PresetInfo getCurrentPreset() const;

    /** Whether the state now differs from the current preset as it was loaded or saved (a
        host's restore counts as loaded: the song's state is taken as the preset's), view
        settings aside. Worked out again only after the processor announced a change.
        [message thread] */
    bool isCurrentPresetModified();

    /** A host restored a state: what it restored is the current preset's content from now
        on. [any thread] */
    void stateRestoredByHost() noexcept { referencePending = true; }

    //==============================================================================
    /** Loads the entry with this index (0: the initial state). Returns false, and
        leaves the state and the current preset alone, when there is no such entry or
        its file is unreadable. [message thread] */
    bool loadPreset (int index);

    /** Loads a preset file that need not be in the library (command-line tools). Returns
        false, with the "Invalid preset" toast, when it is not a preset of this product.
        [message thread] */
    bool loadPresetFile (const juce::File& file);

    /** The neighbours of the current preset; nothing is loaded past either end. [message thread] */
    bool loadNextPreset();
    bool loadPreviousPreset();

    /** Saves the state as "<user root>/<name>.bpre". Asks before overwriting (without a
        question set, an existing preset is never overwritten). Reports through toasts;
        `onFinished` learns whether the file was written. [message thread] */
    void savePreset (const juce::String& name,
                     const juce::String& author,
                     const juce::String& description,
                     const juce::String& categories,
                     std::function<void (bool saved)> onFinished = {});

    /** The preset element a save writes: the whole state tree without "preset_path",
        with the three texts on it. [the thread that owns the processor] */
    std::unique_ptr<juce::XmlElement> createPresetElement (const juce::String& author,
                                                           const juce::String& description,
                                                           const juce::String& categories);

    void setOverwriteQuestion (OverwriteQuestion question); // [message thread]

    /** How a saved song names the current preset (see PresetReference): its path below
        the library root, or empty for the Initial Patch. [any thread] */
    juce::String getCurrentPresetReference() const;

    /** Makes the entry a song's reference names current, after a host restore; returns
        false (and changes nothing) when no entry is that preset. [any thread] */
    bool selectPresetByReference (const juce::String& reference);

    /** Called with the tree of a preset just before it is applied. [message thread] */
    std::function<void (const juce::ValueTree& state)> onStateAboutToBeApplied;

    void addListener (Listener* listener); // [message thread]
    void removeListener (Listener* listener); // [message thread]

    /** True for a name that can be a preset file's name: not blank, no "/" and no
        control characters. */
    static bool isValidPresetName (const juce::String& name);

private:
    /** Steps shared by every load: the tag lower-cased, the "Invalid preset" fallback to the
        initial state, the callbacks, then the state applied. */
    bool applyPresetXml (std::unique_ptr<juce::XmlElement> xml, PresetInfo entry, const PresetInfo& initialEntry);

    bool writePreset (const juce::File& target, const juce::String& text, const juce::String& author);
    std::unique_ptr<juce::XmlElement> copyStateAsXml();

    /** The state as a preset has it, view settings aside. */
    juce::ValueTree copyPresetContent();
    void rememberPresetContent();

    // Any thread: parameter changes, and the product's pings of a change in the rest of its state.
    void audioProcessorParameterChanged (juce::AudioProcessor*, int, float) override { contentMayHaveChanged = true; }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void setCurrentPreset (const PresetInfo& preset);
    void notifyCurrentPresetChanged();
    void handleAsyncUpdate() override;

    std::atomic<bool> factoryPresetsFound { false };
    const juce::File factoryRoot, userRoot;
    Owner& owner;
    juce::AudioProcessorValueTreeState& parameters;
    const juce::Identifier stateType;
    std::shared_ptr<const juce::XmlElement> initialState;
    ToastManager& toasts;
    OverwriteQuestion overwriteQuestion;

    juce::ValueTree indexTree;

    mutable std::mutex listLock; // guards presetList and currentPreset
    std::shared_ptr<const std::vector<PresetInfo>> presetList;
    PresetInfo currentPreset;

    ListenerSet<Listener> listeners;

    juce::ValueTree presetContent; // what the current preset holds, as the state reads [message thread]
    std::atomic<bool> referencePending { true }, contentMayHaveChanged { false };
    bool modified = false;

    JUCE_DECLARE_WEAK_REFERENCEABLE (PresetManager)
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PresetManager)
};

} // namespace tarn
