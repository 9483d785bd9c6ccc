#include "PresetReference.h"

#include "PresetIndex.h"

namespace tarn::PresetReference
{
namespace
{
    /** Both roots' folders on disk are called after their labels, inside a "Presets" folder. */
    constexpr const char* libraryFolderName = "Presets";

    juce::File underRoot (const juce::String& label, const juce::String& relativePath, const juce::File& factoryRoot, const juce::File& userRoot)
    {
        if (relativePath.isEmpty() || juce::StringArray::fromTokens (relativePath, "/", {}).contains (".."))
            return {};

        if (label == PresetIndex::factoryLabel)
            return factoryRoot.getChildFile (relativePath);

        if (label == PresetIndex::userLabel)
            return userRoot.getChildFile (relativePath);

        return {};
    }

    /** ".../Presets/User/Pads/Warm.bpre" -> { "User", "Pads/Warm.bpre" }, from the nearest such folder. */
    std::pair<juce::String, juce::String> splitAtLibraryRoot (const juce::File& file)
    {
        for (auto folder = file.getParentDirectory(); ! folder.isRoot(); folder = folder.getParentDirectory())
            if (folder.getParentDirectory().getFileName().equalsIgnoreCase (libraryFolderName))
                if (const auto label = folder.getFileName(); label == PresetIndex::factoryLabel || label == PresetIndex::userLabel)
                    return { label, file.getRelativePathFrom (folder) };

        return {};
    }
} // namespace

juce::String make (const juce::File& presetFile, const juce::File& factoryRoot, const juce::File& userRoot)
{
    if (presetFile.isAChildOf (factoryRoot))
        return juce::String (PresetIndex::factoryLabel) + "/" + presetFile.getRelativePathFrom (factoryRoot);

    if (presetFile.isAChildOf (userRoot))
        return juce::String (PresetIndex::userLabel) + "/" + presetFile.getRelativePathFrom (userRoot);

    return presetFile.getFullPathName();
}

juce::Array<juce::File> resolve (const juce::String& reference, const juce::File& factoryRoot, const juce::File& userRoot)
{
    juce::Array<juce::File> files;

    if (reference.isEmpty())
        return files;

    if (! juce::File::isAbsolutePath (reference))
    {
        if (const auto file = underRoot (reference.upToFirstOccurrenceOf ("/", false, false), reference.fromFirstOccurrenceOf ("/", false, false), factoryRoot, userRoot); file != juce::File())
            files.add (file);

        return files;
    }

    const juce::File written (reference);
    files.add (written);

    if (const auto [label, relativePath] = splitAtLibraryRoot (written); label.isNotEmpty())
        if (const auto file = underRoot (label, relativePath, factoryRoot, userRoot); file != juce::File() && file != written)
            files.add (file);

    return files;
}

} // namespace tarn::PresetReference
