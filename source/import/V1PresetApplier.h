#pragma once

#include "V1PresetParser.h"

#include <source/processor/Cadenzium2AudioProcessor.h>

/** Puts a parsed first-version preset into a processor: the running one when the user loads
    a single file, or the bulk importer's private one. */
namespace V1PresetApplier
{
/** The error toast for a file that is not a first-version preset. */
inline constexpr const char* invalidPresetMessage = "Not a valid Cadenzium v1 preset";

/** The positions of the preset's controller lanes that are kept: the first lane of each key
    (type, channel and, for control changes, number). A phrase holds one lane per key, so a
    later lane with the same key would overwrite the first one's points when the phrase is
    stored and read back. */
std::vector<int> lanesToKeep (const V1Preset& preset);

/** Replaces the controller types, the twelve phrases and the rows and sets "input_fill"
    (telling the host), all under the state lock, then forgets the undo history: its steps
    belong to the song that was there before. The host hears of the change through
    `internal`, later on the message thread, as after every edit. Returns false, changing
    nothing, for a preset that is not valid.
    [message thread for the running processor; any thread but the audio thread for a
    private instance that no other thread uses] */
bool apply (Cadenzium2AudioProcessor& processor, const V1Preset& preset);

/** The editor's "Load v1 Preset": reads and parses the file and applies it, or shows the
    error toast and changes nothing. The host hears of the change before this returns.
    Returns whether the preset was applied. [message thread] */
bool loadFile (Cadenzium2AudioProcessor& processor, const juce::File& file);
} // namespace V1PresetApplier
