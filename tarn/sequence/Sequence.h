#pragma once

#include "GridSize.h"

#include <array>
#include <vector>

namespace tarn
{

/** Musical time inside a sequence: whole ticks, 960 per quarter note. */
namespace Ticks
{
    constexpr int perQuarter = 960;
    constexpr int perWhole = 3840;
    constexpr int perSixteenth = 240;

    /** Ticks in one bar of numerator/denominator. */
    constexpr int perBar (int numerator, int denominator) noexcept
    {
        return denominator > 0 ? numerator * perWhole / denominator : perWhole;
    }
} // namespace Ticks

/** One note of a phrase. In the plug-in, `number` is a row index, not an output pitch. */
struct SequenceNote
{
    int chance = 100;
    int transposeMin = 0, transposeMax = 0;
    int octaveMin = 0, octaveMax = 0;
    int velocityMin = 0, velocityMax = 0;
    int number = 0;
    int timestamp = 0;
    int length = 0;
    int channel = 1;
    int repeatStyle = noRepeats;
    int repeatCount = 0; // style 2: strikes; style 1: the identifier of repeatRate
    GridSize repeatRate;

    enum RepeatStyle
    {
        noRepeats = 0,
        repeatAtRate = 1,
        repeatCountTimes = 2
    };

    int getEnd() const noexcept { return timestamp + length; }

    bool operator== (const SequenceNote&) const noexcept;
    bool operator!= (const SequenceNote& other) const noexcept { return ! operator== (other); }
};

/** A loop region on one pitch row; (-1, -1) means the row has none. */
struct RowLoop
{
    int start = -1;
    int end = -1;

    /** Only a region with 0 <= start < end loops; anything else plays straight through. */
    bool isSet() const noexcept { return start >= 0 && start < end; }
    void clear() noexcept { start = end = -1; }

    bool operator== (const RowLoop& other) const noexcept { return start == other.start && end == other.end; }
    bool operator!= (const RowLoop& other) const noexcept { return ! operator== (other); }
};

struct ControllerPoint
{
    enum Shape
    {
        straightLine = 0,
        quadratic = 1,
        sCurve = 2
    };

    int timestamp = 0;
    int value = 0;
    float curve = 0.5f; // bend of the segment that ends here, 0 .. 1
    int shape = straightLine;

    bool operator== (const ControllerPoint&) const noexcept;
    bool operator!= (const ControllerPoint& other) const noexcept { return ! operator== (other); }
};

/** A controller lane: a control change (type 0) or pitch bend (type 1) drawn as a curve. */
struct ControllerLane
{
    enum Type
    {
        controlChange = 0,
        pitchBend = 1
    };

    static constexpr int pitchBendMin = -8192;
    static constexpr int pitchBendMax = 8191;

    std::vector<ControllerPoint> points;
    int type = pitchBend;
    int number = -1;
    int channel = 1;
    juce::String name;

    /** Lanes with the same key are the same lane: type, channel and, for control changes, number. */
    bool hasSameKeyAs (const ControllerLane& other) const noexcept;

    /** What the editor shows: "CC 1 - Modulation Wheel", "Pitch Bend (Ch: 2)", or the user's name. */
    juce::String getDisplayName() const;

    bool operator== (const ControllerLane&) const noexcept;
    bool operator!= (const ControllerLane& other) const noexcept { return ! operator== (other); }
};

/** A phrase: notes, one optional loop region per pitch row, controller lanes, and its
    length, time signature, name, loop count and playback start.

    A plain value: copies are deep, nothing is shared and nothing locks.
*/
class Sequence
{
public:
    static constexpr int numRows = 128;
    static constexpr int defaultLength = Ticks::perWhole;

    /** The longest phrase the program accepts: 256 bars of 4/4. Every walk over a phrase
        (controller lanes sampled tick by tick, repeats, generation) is bounded by it. */
    static constexpr int maxLength = 256 * Ticks::perWhole;

    Sequence();
    Sequence (const Sequence&);
    Sequence& operator= (const Sequence&);
    Sequence (Sequence&&) noexcept = default;
    Sequence& operator= (Sequence&&) noexcept = default;

    std::vector<SequenceNote> notes;
    std::array<RowLoop, numRows> loops;
    std::vector<ControllerLane> lanes;

    /** Playback sends each note's pitch offset in a wrapped message instead of moving the
        note number; set by the sequence manager, never saved. */
    bool carryPitchOffset = false;

    int playbackStart = 0;
    int timeSignatureNumerator = 4;
    int timeSignatureDenominator = 4;
    juce::String name;
    int loopCount = -1; // passes before the player falls silent; -1 plays forever

    int getLength() const noexcept { return length; }

    /** Sets the length, limited to 0 .. maxLength; a positive length also pulls playbackStart
        inside it. */
    void setLength (int newLength) noexcept;

    /** The latest note end or controller point time; kept up to date by normalise(). */
    int getContentEnd() const noexcept { return contentEnd; }

    /** playbackStart limited to 0 .. length - 1 (0 for an empty phrase). */
    int getEffectivePlaybackStart() const noexcept;

    int getBarLength() const noexcept { return Ticks::perBar (timeSignatureNumerator, timeSignatureDenominator); }

    /** Sorts the notes by start, recomputes the content end and drops row loops that are
        not loops (empty, inverted, or covering the whole phrase). Call after every
        structural edit. */
    void normalise();

    /** Replaces the lane with the same key, or appends the lane when there is none. */
    void setLane (const ControllerLane& lane);

    /** Time signatures the program accepts: 1..64 over a power of two up to 64. */
    static bool isValidTimeSignature (int numerator, int denominator) noexcept;

private:
    int length = defaultLength;
    int contentEnd = 0;
};

} // namespace tarn
