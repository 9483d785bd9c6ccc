#pragma once

#include <juce_core/juce_core.h>

namespace tarn
{

/** Where file choosers for the user's own files (MIDI files to import or render) start. */
namespace UserDocuments
{
    /** The documents folder the desktop names: XDG_DOCUMENTS_DIR from the environment, else
        from "user-dirs.dirs" in the configuration folder (XDG_CONFIG_HOME, else ~/.config),
        when it names an existing folder; else ~/Documents; else the home folder, when even
        that does not exist. Reads the environment and the file on each call.
        [any thread but the audio thread] */
    juce::File getFolder();

    /** The folder a "user-dirs.dirs" line names: `XDG_DOCUMENTS_DIR="$HOME/Docs"` ->
        <home>/Docs. Empty when the line is not about documents or names no absolute path. */
    juce::File parseDirsLine (const juce::String& line, const juce::File& home);
} // namespace UserDocuments

} // namespace tarn
