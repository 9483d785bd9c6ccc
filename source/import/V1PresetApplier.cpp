#include "V1PresetApplier.h"

namespace V1PresetApplier
{
namespace
{
    ControllerType typeOfLane (int controllerNumber)
    {
        if (controllerNumber == V1Preset::pitchWheel)
            return { tarn::ControllerLane::pitchBend, -1, 1, {} };

        return { tarn::ControllerLane::controlChange, controllerNumber, 1, {} };
    }

    bool isComplete (const V1Preset& preset)
    {
        if (! preset.valid || (int) preset.phrases.size() != V1Preset::numPhrases || preset.rows.empty())
            return false;

        for (const auto& phrase : preset.phrases)
            if ((int) phrase.lanes.size() != V1Preset::numControllers)
                return false;

        return true;
    }
} // namespace

std::vector<int> lanesToKeep (const V1Preset& preset)
{
    std::vector<int> kept;

    for (int lane = 0; lane < V1Preset::numControllers; ++lane)
    {
        const auto type = typeOfLane (preset.controllerNumbers[(size_t) lane]);
        const auto sameKey = [&] (int earlier)
        { return typeOfLane (preset.controllerNumbers[(size_t) earlier]).hasSameKeyAs (type); };

        if (std::none_of (kept.begin(), kept.end(), sameKey))
            kept.push_back (lane);
    }

    return kept;
}

bool apply (Cadenzium2AudioProcessor& processor, const V1Preset& preset)
{
    if (! isComplete (preset))
        return false;

    const auto kept = lanesToKeep (preset);

    if ((int) kept.size() < V1Preset::numControllers)
        juce::Logger::writeToLog ("v1 preset repeats a controller: keeping the first lane of each, "
                                  + juce::String ((int) kept.size()) + " of " + juce::String (V1Preset::numControllers));

    ControllerTypeList types;

    for (const auto lane : kept)
        types.push_back (typeOfLane (preset.controllerNumbers[(size_t) lane]));

    auto& phrases = processor.getPhraseManager();

    // One section, so a host saving its project on another thread sees the old song or
    // the new one, never the new lanes over the old phrases.
    const juce::ScopedLock sl (phrases.getStateLock());

    phrases.setControllerTypes (std::move (types));

    for (int slot = 0; slot < V1Preset::numPhrases; ++slot)
    {
        auto phrase = preset.phrases[(size_t) slot];
        std::vector<tarn::ControllerLane> lanes;

        for (const auto lane : kept)
            lanes.push_back (std::move (phrase.lanes[(size_t) lane]));

        phrase.lanes = std::move (lanes);
        phrase.normalise();
        phrases.setSequence (slot, phrase, nullptr);
    }

    phrases.setRows (preset.rows);
    processor.setRawParameterValueNotifyingHost (ParameterIds::inputFill, preset.fill ? 1.0f : 0.0f);

    // Undoing a step of the previous song would write its phrases and rows into this one.
    phrases.clearUndoHistory();
    return true;
}

bool loadFile (Cadenzium2AudioProcessor& processor, const juce::File& file)
{
    const auto preset = V1PresetParser::parseFile (file);

    if (! apply (processor, preset))
    {
        processor.getToastManager().addToast (invalidPresetMessage, tarn::Toast::error);
        return false;
    }

    juce::Logger::writeToLog ("Loaded v1 preset " + file.getFullPathName());

    // The edits asked for the ping; made here, outside the state lock.
    processor.flushStateChangePing();
    return true;
}
} // namespace V1PresetApplier
