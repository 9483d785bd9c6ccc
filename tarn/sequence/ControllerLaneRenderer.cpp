#include "ControllerLaneRenderer.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>

namespace tarn
{
namespace
{
    constexpr float flatteningTolerance = 0.6f;

    // Control points sit on whole ticks and whole values, halves going to the even neighbour,
    // so the same lane always flattens to the same pieces.
    float roundHalfToEven (double value) noexcept
    {
        return (float) std::nearbyint (value);
    }

    struct Piece
    {
        float x1, y1, x2, y2;
    };

    juce::Path buildCurve (const std::vector<ControllerPoint>& points)
    {
        juce::Path path;
        double previousTime = 0.0;
        double previousValue = points.front().value;
        path.startNewSubPath (0.0f, (float) previousValue);

        for (const auto& point : points)
        {
            const auto t = (double) point.timestamp;
            const auto y = (double) point.value;
            const auto dt = t - previousTime;
            const auto dy = y - previousValue;
            const auto curve = std::isfinite (point.curve) ? juce::jlimit (0.0, 1.0, (double) point.curve) : 0.5;

            if (y != previousValue && point.shape == ControllerPoint::quadratic)
            {
                path.quadraticTo (roundHalfToEven (previousTime + curve * dt),
                                  roundHalfToEven (previousValue + (1.0 - curve) * dy),
                                  (float) t,
                                  (float) y);
            }
            else if (y != previousValue && point.shape == ControllerPoint::sCurve)
            {
                path.cubicTo (roundHalfToEven (previousTime + curve * dt),
                              roundHalfToEven (previousValue + (1.0 - curve) * dy),
                              roundHalfToEven (previousTime + (1.0 - curve) * dt),
                              roundHalfToEven (previousValue + curve * dy),
                              (float) t,
                              (float) y);
            }
            else if (y == previousValue || point.shape == ControllerPoint::straightLine)
            {
                path.lineTo ((float) t, (float) y);
            }

            previousTime = t;
            previousValue = y;
        }

        return path;
    }

    std::vector<Piece> flatten (const juce::Path& path)
    {
        std::vector<Piece> pieces;
        juce::PathFlatteningIterator iterator (path, juce::AffineTransform(), flatteningTolerance);

        while (iterator.next())
            pieces.push_back ({ iterator.x1, iterator.y1, iterator.x2, iterator.y2 });

        return pieces;
    }

    /** Emits a message whenever the sampled value changes. */
    class LaneWriter
    {
    public:
        LaneWriter (const ControllerLane& laneToWrite, std::vector<TimedMessage>& destination)
            : lane (laneToWrite)
            , output (destination)
            , channelBits (juce::jlimit (0, 15, laneToWrite.channel - 1))
        {
        }

        void write (juce::int64 tick, int value)
        {
            value = lane.type == ControllerLane::controlChange
                        ? juce::jlimit (0, 127, value)
                        : juce::jlimit (ControllerLane::pitchBendMin, ControllerLane::pitchBendMax, value);

            if (hasWritten && value == lastValue)
                return;

            hasWritten = true;
            lastValue = value;

            if (lane.type == ControllerLane::controlChange)
                output.push_back ({ tick, juce::MidiMessage (0xb0 | channelBits, lane.number & 127, value & 127) });
            else
                output.push_back ({ tick, juce::MidiMessage (0xe0 | channelBits, value & 127, ((value + 8192) >> 7) & 127) });
        }

    private:
        const ControllerLane& lane;
        std::vector<TimedMessage>& output;
        const int channelBits;
        bool hasWritten = false;
        int lastValue = 0;
    };

    bool laneCanSound (const ControllerLane& lane) noexcept
    {
        if (lane.points.empty())
            return false;

        if (lane.type == ControllerLane::controlChange)
            return juce::isPositiveAndBelow (lane.number, 128);

        return lane.type == ControllerLane::pitchBend;
    }

    // The value in force at the playback start opens the pass at tick 0; every message moves
    // round with the notes. The opening message keeps its own place too when it lies before
    // the start, or the pass would lose that change when it comes round.
    void rotate (std::vector<TimedMessage>& messages, juce::int64 start, juce::int64 length)
    {
        size_t opening = 0;

        for (size_t i = 0; i < messages.size() && messages[i].tick <= start; ++i)
            opening = i;

        const auto openingMessage = messages[opening];

        for (auto& message : messages)
            message.tick = message.tick >= start ? message.tick - start : message.tick + length - start;

        if (openingMessage.tick < start)
            messages.insert (messages.begin(), { 0, openingMessage.message });

        std::stable_sort (messages.begin(), messages.end(), [] (const TimedMessage& a, const TimedMessage& b)
                          { return a.tick < b.tick; });
    }

} // namespace

juce::Path buildControllerCurve (const std::vector<ControllerPoint>& points)
{
    return points.empty() ? juce::Path() : buildCurve (points);
}

std::vector<TimedMessage> renderControllerLane (const ControllerLane& lane, int length, int playbackStart, int step)
{
    std::vector<TimedMessage> messages;

    if (! laneCanSound (lane) || length <= 0)
        return messages;

    step = std::max (1, step);
    auto points = lane.points;
    std::stable_sort (points.begin(), points.end(), [] (const ControllerPoint& a, const ControllerPoint& b)
                      { return a.timestamp < b.timestamp; });

    const auto pieces = flatten (buildCurve (points));
    const auto firstTime = (juce::int64) points.front().timestamp;
    const auto lastTime = (juce::int64) points.back().timestamp;

    LaneWriter writer (lane, messages);
    size_t pointIndex = 0;
    size_t pieceIndex = 0;

    // Sampled ticks: 0, then from the first point on every `step` ticks and at every point,
    // so a thinned lane still reaches each value it is drawn to, in time. pointIndex is the
    // first point after the tick just sampled.
    const auto nextTick = [&] (juce::int64 tick)
    {
        const auto nextPoint = pointIndex < points.size() ? (juce::int64) points[pointIndex].timestamp : tick + step;
        return std::min (tick + step, nextPoint);
    };

    for (juce::int64 tick = 0; tick < length; tick = nextTick (tick))
    {
        if (tick < firstTime)
        {
            writer.write (tick, points.front().value);
            tick = firstTime - step; // the value stays put until the first point
            continue;
        }

        if (tick > lastTime)
        {
            writer.write (tick, points.back().value);
            break; // and after the last one
        }

        while (pointIndex < points.size() && points[pointIndex].timestamp < tick)
            ++pointIndex;

        if (pointIndex < points.size() && points[pointIndex].timestamp == tick)
        {
            for (; pointIndex < points.size() && points[pointIndex].timestamp == tick; ++pointIndex)
                writer.write (tick, points[pointIndex].value);

            continue;
        }

        if (pieces.empty())
            continue;

        const auto x = (float) tick;

        while (pieceIndex + 1 < pieces.size() && pieces[pieceIndex].x2 < x)
            ++pieceIndex;

        const auto& piece = pieces[pieceIndex];
        const auto width = (double) piece.x2 - (double) piece.x1;
        const auto y = width > 0.0 ? (double) piece.y1 + ((double) x - (double) piece.x1) * ((double) piece.y2 - (double) piece.y1) / width
                                   : (double) piece.y2;

        writer.write (tick, juce::roundToInt (y));
    }

    if (playbackStart > 0 && playbackStart < length && ! messages.empty())
        rotate (messages, playbackStart, length);

    return messages;
}

juce::int64 countLaneSamples (const ControllerLane& lane, int length) noexcept
{
    if (! laneCanSound (lane) || length <= 0)
        return 0;

    auto firstTime = (juce::int64) lane.points.front().timestamp;
    auto lastTime = firstTime;

    for (const auto& point : lane.points)
    {
        firstTime = std::min (firstTime, (juce::int64) point.timestamp);
        lastTime = std::max (lastTime, (juce::int64) point.timestamp);
    }

    const auto from = std::max ((juce::int64) 0, firstTime);
    const auto to = std::min ((juce::int64) length - 1, lastTime);
    return std::max ((juce::int64) 0, to - from + 1) + 2;
}

} // namespace tarn
