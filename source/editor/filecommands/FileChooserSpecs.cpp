#include "FileChooserSpecs.h"

#include <brindlex/BrindlexProcessor.h>
#include <brindlex/UserFolders.h>
#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/util/UserDocuments.h>

namespace FileChooserSpecs
{
using Kind = tarn::FileChooserLauncher::Kind;

namespace
{
    tarn::PopupKind chordProgressionChooser { "chord progression chooser" };
    tarn::PopupKind midiPatternChooser { "MIDI pattern chooser" };
    tarn::PopupKind v1PresetChooser { "v1 preset chooser" };
    tarn::PopupKind v1PresetFolderChooser { "v1 preset folder chooser" };
} // namespace

juce::File v1UserPresetFolder()
{
    return brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium");
}

juce::File chordProgressionStartFolder()
{
    const auto holdsProgressions = [] (const juce::File& folder)
    { return folder.isDirectory() && ! folder.findChildFiles (juce::File::findFiles, false, "*.mid;*.midi").isEmpty(); };

    const auto productName = juce::String (Cadenzium2AudioProcessor::productName);
    if (const auto own = brindlex::UserFolders::getChordProgressionFolder (productName); holdsProgressions (own))
        return own;

    for (const auto& installed : brindlex::UserFolders::getInstalledDocuments (productName, "examples/chords"))
        if (holdsProgressions (installed))
            return installed;

    return tarn::UserDocuments::getFolder();
}

tarn::FileChooserLauncher::Request chordProgression()
{
    return { &chordProgressionChooser, "Select a MIDI chord progression...", chordProgressionStartFolder(), "*.mid;*.midi", Kind::openFile };
}

tarn::FileChooserLauncher::Request midiPattern()
{
    return { &midiPatternChooser, "Please select a MIDI file...", tarn::UserDocuments::getFolder(), "*.mid;*.midi", Kind::openFile };
}

tarn::FileChooserLauncher::Request v1Preset()
{
    // Most people converting have the first version's folder; without it the documents.
    const auto folder = v1UserPresetFolder();
    return { &v1PresetChooser, "Please select a v1 preset...", folder.isDirectory() ? folder : tarn::UserDocuments::getFolder(), "*.bpre", Kind::openFile };
}

tarn::FileChooserLauncher::Request v1PresetFolder()
{
    const auto folder = v1UserPresetFolder();
    return { &v1PresetFolderChooser, "Select your version 1 preset folder", folder.isDirectory() ? folder : tarn::UserDocuments::getFolder(), {}, Kind::chooseFolder };
}
} // namespace FileChooserSpecs
