#pragma once

#include "PresetInfo.h"

#include <memory>
#include <vector>

namespace tarn
{

/** The in-memory index of the preset folders: a tree of folder and preset nodes, and
    the flat list that numbers the presets depth-first.

    The tree's root is "presets" holding the factory folder node, then the user folder
    node. Folder nodes have the type "f_" + the lower-cased name with blanks as "_"
    ("f_factory", "f_user", "f_deep_bass"), "folder_name" and, from "_description.txt",
    "description". Preset nodes ("preset") have "path", "name", "factory", "author",
    "categories", "description" and "preset_index". A factory folder that exists also
    holds the synthetic Initial Patch, which stands for the default state. The flat list
    always begins with the Initial Patch (index 0, the host's program 0), with or without
    a factory folder, so every entry has a number of its own.

    Only files that read whole are listed, so every listed preset loads: each file is
    checked from end to end with XmlScan (far quicker than parsing it), and only its
    document element's start tag is parsed, which is all the index needs.
*/
class PresetIndex
{
public:
    struct ids
    {
        static inline const juce::Identifier presets { "presets" };
        static inline const juce::Identifier preset { "preset" };
        static inline const juce::Identifier folderName { "folder_name" };
        static inline const juce::Identifier description { "description" };
        static inline const juce::Identifier path { "path" };
        static inline const juce::Identifier name { "name" };
        static inline const juce::Identifier factory { "factory" };
        static inline const juce::Identifier author { "author" };
        static inline const juce::Identifier categories { "categories" };
        static inline const juce::Identifier presetIndex { "preset_index" };
    };

    static constexpr const char* factoryLabel = "Factory";
    static constexpr const char* userLabel = "User";
    static constexpr const char* presetExtension = ".bpre";
    static constexpr const char* folderDescriptionFile = "_description.txt";

    /** A folder holding more presets than this is cut short (with a log line) rather
        than filling memory. */
    static constexpr int maxPresetsPerRoot = 20000;

    /** Larger files are not presets; they are neither indexed nor loaded. */
    static constexpr juce::int64 maxPresetFileBytes = 64 * 1024 * 1024;
    static constexpr juce::int64 maxDescriptionFileBytes = 1024 * 1024;

    /** An empty index: a "presets" root without folders. */
    PresetIndex();

    /** Scans both roots. `stateType` is the root tag a preset must have ("cadenzium2"). */
    static PresetIndex build (const juce::File& factoryRoot,
                              const juce::File& userRoot,
                              const juce::Identifier& stateType);

    const juce::ValueTree& getTree() const noexcept { return tree; }
    const std::vector<PresetInfo>& getList() const noexcept { return list; }

    /** True when the factory root held at least one ".bpre" file. */
    bool hasFactoryPresets() const noexcept { return factoryPresetsFound; }

    /** "Deep Bass" -> "f_deep_bass". */
    static juce::Identifier makeFolderType (const juce::String& folderName);

    /** The root element of an XML file with its attributes but without its children, or
        nullptr when the file is not an XML document of a sensible size that reads whole.
        [any thread but the audio thread] */
    static std::unique_ptr<juce::XmlElement> readOuterElement (const juce::File& file);

    /** The whole XML document of a preset file, or nullptr: exactly the files for which
        readOuterElement() gives an element. [any thread but the audio thread] */
    static std::unique_ptr<juce::XmlElement> readDocument (const juce::File& file);

private:
    juce::ValueTree scanRoot (const juce::String& label, const juce::File& folder, const juce::Identifier& stateType);
    void rebuildList();

    juce::ValueTree tree;
    std::vector<PresetInfo> list;
    bool factoryPresetsFound = false;
};

} // namespace tarn
