#include "RealtimeLogQueue.h"

#include <charconv>
#include <cstring>

namespace tarn
{

RealtimeLogQueue::RealtimeLogQueue (int drainIntervalMs)
{
    if (drainIntervalMs > 0)
        startTimer (drainIntervalMs);
}

RealtimeLogQueue::~RealtimeLogQueue()
{
    stopTimer();
    drain();
}

bool RealtimeLogQueue::push (const char* text) noexcept
{
    return pushText (text, nullptr, 0);
}

bool RealtimeLogQueue::push (const char* text, double value) noexcept
{
    char number[32];
    const auto result = std::to_chars (number, number + sizeof (number), value);
    return pushText (text, number, result.ec == std::errc() ? (int) (result.ptr - number) : 0);
}

bool RealtimeLogQueue::pushText (const char* text, const char* suffix, int suffixLength) noexcept
{
    const auto scope = fifo.write (1);

    if (scope.blockSize1 + scope.blockSize2 == 0)
    {
        dropped.fetch_add (1, std::memory_order_relaxed);
        return false;
    }

    auto& slot = texts[(size_t) (scope.blockSize1 > 0 ? scope.startIndex1 : scope.startIndex2)];
    const auto textLength = juce::jmin ((int) std::strlen (text != nullptr ? text : ""), maxTextLength);
    const auto numSuffix = juce::jmin (suffixLength, maxTextLength - textLength);

    if (textLength > 0)
        std::memcpy (slot.data(), text, (size_t) textLength);

    if (numSuffix > 0)
        std::memcpy (slot.data() + textLength, suffix, (size_t) numSuffix);

    slot[(size_t) (textLength + numSuffix)] = 0;
    return true;
}

void RealtimeLogQueue::drain()
{
    for (;;)
    {
        juce::String text;

        {
            const auto scope = fifo.read (1);

            if (scope.blockSize1 + scope.blockSize2 == 0)
                break;

            const auto& slot = texts[(size_t) (scope.blockSize1 > 0 ? scope.startIndex1 : scope.startIndex2)];
            text = juce::String::fromUTF8 (slot.data());
        }

        juce::Logger::writeToLog (text);
    }

    if (const auto numDropped = dropped.exchange (0); numDropped > 0)
        juce::Logger::writeToLog (juce::String (numDropped) + " log messages from the audio thread were dropped");
}

} // namespace tarn
