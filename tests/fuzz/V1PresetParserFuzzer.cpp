// Any bytes as a first-version preset file. A rejected file leaves nothing behind; an
// accepted one must hold only what playback can use safely.

#include "FuzzedProcessor.h"

#include <source/import/V1PresetParser.h>
#include <tarn/util/TextFiles.h>

#include <cstdint>
#include <limits>

using cadenzium::fuzz::require;

namespace
{
void checkPhrase (const tarn::Sequence& phrase)
{
    require (phrase.getLength() >= 1 && phrase.getLength() <= tarn::Sequence::maxLength);
    require (phrase.lanes.size() == (size_t) V1Preset::numControllers);

    for (const auto& note : phrase.notes)
    {
        require (note.number >= 0 && note.number < V1Preset::numRows);
        require (note.timestamp >= 0 && note.length >= 1);
        require ((juce::int64) note.timestamp + note.length <= std::numeric_limits<int>::max());
        require (note.velocityMin >= 0 && note.velocityMax <= 127 && note.velocityMin == note.velocityMax);
        require (note.chance >= 0 && note.chance <= 100);
        require (note.transposeMin >= -24 && note.transposeMax <= 24);
        require (note.octaveMin >= -4 && note.octaveMax <= 4);
    }

    for (const auto& lane : phrase.lanes)
    {
        const bool bend = lane.type == tarn::ControllerLane::pitchBend;
        require (bend ? lane.number == V1Preset::pitchWheel : (lane.number >= 0 && lane.number <= 127));

        for (const auto& point : lane.points)
        {
            require (point.timestamp >= 0);
            require (bend ? (point.value >= tarn::ControllerLane::pitchBendMin && point.value <= tarn::ControllerLane::pitchBendMax)
                          : (point.value >= 0 && point.value <= 127));
        }
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, std::size_t size)
{
    const auto preset = V1PresetParser::parse (tarn::TextFiles::decode (juce::MemoryBlock (data, size)));

    if (! preset.valid)
    {
        require (preset.phrases.empty() && preset.rows.empty());
        return 0;
    }

    require (preset.phrases.size() == (size_t) V1Preset::numPhrases);
    require (preset.rows.size() == (size_t) V1Preset::numRows);
    require (preset.quarterNotesPerStep > 0.0);

    for (const auto& phrase : preset.phrases)
        checkPhrase (phrase);

    return 0;
}
