#include "FileChooserSpecs.h"

#include <brindlex/BrindlexProcessor.h>
#include <tarn/util/UserDocuments.h>

namespace FileChooserSpecs
{
using Kind = tarn::FileChooserLauncher::Kind;

juce::File v1UserPresetFolder()
{
    return brindlex::BrindlexProcessor::getUserPresetFolder ("Cadenzium");
}

tarn::FileChooserLauncher::Request chordProgression()
{
    return { "Select a MIDI chord progression...", tarn::UserDocuments::getFolder(), "*.mid;*.midi", Kind::openFile };
}

tarn::FileChooserLauncher::Request midiPattern()
{
    return { "Please select a MIDI file...", tarn::UserDocuments::getFolder(), "*.mid;*.midi", Kind::openFile };
}

tarn::FileChooserLauncher::Request v1Preset()
{
    // Most people converting have the first version's folder; without it the documents.
    const auto folder = v1UserPresetFolder();
    return { "Please select a v1 preset...", folder.isDirectory() ? folder : tarn::UserDocuments::getFolder(), "*.bpre", Kind::openFile };
}

tarn::FileChooserLauncher::Request v1PresetFolder()
{
    const auto folder = v1UserPresetFolder();
    return { "Select your version 1 preset folder", folder.isDirectory() ? folder : tarn::UserDocuments::getFolder(), {}, Kind::chooseFolder };
}
} // namespace FileChooserSpecs
