#include "PhraseRendering.h"

#include "SequenceRenderer.h"

namespace tarn
{

PhraseRendering PhraseRendering::prepare (juce::MidiMessageSequence&& rendering,
                                          juce::uint32 versionToUse,
                                          std::shared_ptr<const Sequence> sourceToUse)
{
    PhraseRendering result;
    result.version = versionToUse;
    result.source = std::move (sourceToUse);

    for (int i = 0; i < rendering.getNumEvents(); ++i)
    {
        const auto& message = rendering.getEventPointer (i)->message;

        if (message.getTimeStamp() > 0.0)
            break;

        if (LoopCountMarker::isMarker (message))
        {
            result.loopLimit = std::max (-1, LoopCountMarker::getLoopLimit (message));
            rendering.deleteEvent (i, false);
            break;
        }
    }

    result.length = rendering.getEndTime();
    result.events = std::make_unique<juce::MidiMessageSequence> (std::move (rendering));
    return result;
}

} // namespace tarn
