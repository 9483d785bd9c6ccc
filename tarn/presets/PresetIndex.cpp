#include "PresetIndex.h"

#include "XmlScan.h"

#include <tarn/util/SafeXml.h>
#include <tarn/util/TextFiles.h>

#include <functional>
#include <map>
#include <optional>

namespace tarn
{
namespace
{
    using TextFiles::isRegularFile;

    /** A preset file's text as UTF-8 bytes, checked whole with XmlScan. */
    struct ScannedText
    {
        juce::MemoryBlock bytes;
        juce::String decoded; // only for files that are not UTF-8
        const char* text = nullptr;
        size_t size = 0;
        XmlScan::Result scan;
    };

    std::optional<ScannedText> readAndScan (const juce::File& file)
    {
        if (! isRegularFile (file) || file.getSize() > PresetIndex::maxPresetFileBytes)
            return std::nullopt;

        ScannedText result;

        if (! file.loadFileAsData (result.bytes) || (juce::int64) result.bytes.getSize() > PresetIndex::maxPresetFileBytes)
            return std::nullopt;

        const auto* raw = static_cast<const char*> (result.bytes.getData());
        const auto numBytes = result.bytes.getSize();

        if (numBytes >= 2 && (juce::CharPointer_UTF16::isByteOrderMarkBigEndian (raw) || juce::CharPointer_UTF16::isByteOrderMarkLittleEndian (raw)))
        {
            result.decoded = TextFiles::decode (result.bytes);
            result.text = result.decoded.toRawUTF8();
            result.size = result.decoded.getNumBytesAsUTF8();
        }
        else
        {
            const auto bom = numBytes >= 3 && juce::CharPointer_UTF8::isByteOrderMark (raw) ? 3u : 0u;
            result.text = raw + bom;
            result.size = numBytes - bom;
        }

        result.scan = XmlScan::scan (result.text, result.size);

        if (! result.scan.readsWhole)
            return std::nullopt;

        return result;
    }

    /** Initial Patch first, then presets by name, then folders by folder name; names
        compare case-sensitively by code point. */
    struct IndexOrder
    {
        static int rank (const juce::ValueTree& node)
        {
            if (! node.hasType (PresetIndex::ids::preset))
                return 2;

            return node[PresetIndex::ids::name].toString() == PresetInfo::initialPatchName ? 0 : 1;
        }

        int compareElements (const juce::ValueTree& a, const juce::ValueTree& b) const
        {
            const auto rankA = rank (a), rankB = rank (b);

            if (rankA != rankB)
                return rankA < rankB ? -1 : 1;

            if (rankA == 0)
                return 0;

            const auto& key = rankA == 1 ? PresetIndex::ids::name : PresetIndex::ids::folderName;
            const auto order = a[key].toString().compare (b[key].toString());
            return order < 0 ? -1 : (order > 0 ? 1 : 0);
        }
    };

    void sortRecursively (juce::ValueTree folder)
    {
        IndexOrder order;
        folder.sort (order, nullptr, true);

        for (auto child : folder)
            if (! child.hasType (PresetIndex::ids::preset))
                sortRecursively (child);
    }

    juce::ValueTree makeInitialPatchNode()
    {
        using ids = PresetIndex::ids;
        const auto info = PresetInfo::makeInitialPatch();

        juce::ValueTree node (ids::preset);
        node.setProperty (ids::name, info.name, nullptr);
        node.setProperty (ids::author, info.author, nullptr);
        node.setProperty (ids::factory, true, nullptr);
        node.setProperty (ids::description, info.description, nullptr);
        node.setProperty (ids::categories, info.categories.joinIntoString (","), nullptr);
        return node;
    }

    juce::ValueTree makeFolderNode (const juce::String& name)
    {
        juce::ValueTree node (PresetIndex::makeFolderType (name));
        node.setProperty (PresetIndex::ids::folderName, name, nullptr);
        return node;
    }

    std::optional<juce::String> readFolderDescription (const juce::File& folder)
    {
        return TextFiles::load (folder.getChildFile (PresetIndex::folderDescriptionFile), PresetIndex::maxDescriptionFileBytes);
    }
} // namespace

PresetIndex::PresetIndex()
    : tree (ids::presets)
{
}

juce::Identifier PresetIndex::makeFolderType (const juce::String& folderName)
{
    return "f_" + folderName.toLowerCase().replaceCharacter (' ', '_');
}

PresetIndex PresetIndex::build (const juce::File& factoryRoot, const juce::File& userRoot, const juce::Identifier& stateType)
{
    PresetIndex index;
    index.tree.appendChild (index.scanRoot (factoryLabel, factoryRoot, stateType), nullptr);
    index.tree.appendChild (index.scanRoot (userLabel, userRoot, stateType), nullptr);
    index.rebuildList();
    return index;
}

juce::ValueTree PresetIndex::scanRoot (const juce::String& label, const juce::File& folder, const juce::Identifier& stateType)
{
    auto rootNode = makeFolderNode (label);

    if (! folder.isDirectory())
        return rootNode;

    const bool isFactory = label == factoryLabel;

    if (isFactory)
        rootNode.appendChild (makeInitialPatchNode(), nullptr);

    std::map<juce::String, std::optional<juce::String>> descriptions;
    int found = 0;

    for (const auto& entry : juce::RangedDirectoryIterator (folder,
                                                            true,
                                                            juce::String ("*") + presetExtension,
                                                            juce::File::findFiles,
                                                            juce::File::FollowSymlinks::noCycles))
    {
        if (++found > maxPresetsPerRoot)
        {
            juce::Logger::writeToLog ("Too many presets in " + folder.getFullPathName() + ", only the first "
                                      + juce::String (maxPresetsPerRoot) + " are listed");
            break;
        }

        const auto file = entry.getFile();

        // Descend (creating folder nodes on the way) along the path below the root.
        auto parent = rootNode;

        for (const auto& piece : juce::StringArray::fromTokens (file.getRelativePathFrom (folder), "/", {}))
        {
            if (piece.isEmpty() || piece.endsWith (presetExtension))
                continue;

            auto child = parent.getChildWithName (makeFolderType (piece));

            if (! child.isValid())
            {
                child = makeFolderNode (piece);
                parent.appendChild (child, nullptr);
            }

            parent = child;
        }

        const auto holder = file.getParentDirectory();
        auto cached = descriptions.find (holder.getFullPathName());

        if (cached == descriptions.end())
            cached = descriptions.emplace (holder.getFullPathName(), readFolderDescription (holder)).first;

        if (cached->second.has_value())
            parent.setProperty (ids::description, *cached->second, nullptr);

        juce::ValueTree presetNode (ids::preset);
        presetNode.setProperty (ids::path, file.getFullPathName(), nullptr);
        presetNode.setProperty (ids::name, file.getFileNameWithoutExtension(), nullptr);
        presetNode.setProperty (ids::factory, isFactory, nullptr);

        if (isFactory)
            factoryPresetsFound = true;

        const auto element = readOuterElement (file);

        if (element == nullptr)
            continue;

        for (const auto& attribute : { ids::author, ids::categories, ids::description })
            if (element->hasAttribute (attribute.toString()))
                presetNode.setProperty (attribute, element->getStringAttribute (attribute.toString()), nullptr);

        // Exact comparison: a capitalised root tag is left out here, although loading
        // such a file by other means would accept it.
        if (element->getTagName() == stateType.toString())
            parent.appendChild (presetNode, nullptr);
    }

    sortRecursively (rootNode);
    return rootNode;
}

void PresetIndex::rebuildList()
{
    list.clear();

    // The Initial Patch is always entry 0 and the presets follow it, whether or not a
    // factory folder brought its node: without one, the first user preset would otherwise
    // be program 0, which loads the initial state, and could never be loaded by number.
    auto hasInitialPatchNode = false;

    for (const auto child : tree.getChild (0))
        hasInitialPatchNode = hasInitialPatchNode || (child.hasType (ids::preset) && PresetInfo::fromIndexNode (child).isInitialPatch());

    if (! hasInitialPatchNode)
        list.push_back (PresetInfo::makeInitialPatch());

    std::function<void (juce::ValueTree)> visit = [&] (juce::ValueTree node)
    {
        for (auto child : node)
        {
            if (child.hasType (ids::preset))
            {
                child.setProperty (ids::presetIndex, (int) list.size(), nullptr);
                list.push_back (PresetInfo::fromIndexNode (child));
            }
            else
            {
                visit (child);
            }
        }
    };

    visit (tree);
}

std::unique_ptr<juce::XmlElement> PresetIndex::readOuterElement (const juce::File& file)
{
    const auto scanned = readAndScan (file);

    if (! scanned.has_value())
        return nullptr;

    // The start tag alone: the rest has been checked, and parsing it would take far longer.
    // Decoded like the whole file: its bytes need not be UTF-8.
    return SafeXml::parse (TextFiles::decode (juce::MemoryBlock (scanned->text, scanned->scan.startTagEnd)), true);
}

std::unique_ptr<juce::XmlElement> PresetIndex::readDocument (const juce::File& file)
{
    const auto scanned = readAndScan (file);

    if (! scanned.has_value())
        return nullptr;

    return SafeXml::parse (TextFiles::decode (scanned->bytes));
}

} // namespace tarn
