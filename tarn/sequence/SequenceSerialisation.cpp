#include "SequenceSerialisation.h"

#include <cmath>

namespace tarn
{
namespace
{
    namespace ids
    {
        const juce::Identifier sequence ("sequence"), notes ("notes"), note ("note"), loops ("loops"),
            loop ("loop"), controllers ("controllers"), controller ("controller"),
            controllerType ("controller_type"), points ("points"), point ("point"), mods ("mods");

        const juce::Identifier length ("length"), numerator ("time_signature_numerator"),
            denominator ("time_signature_denominator"), playbackStart ("playback_start"), name ("name"),
            loopCount ("loop_count");

        const juce::Identifier number ("number"), velocityMin ("velocity_min"), velocityMax ("velocity_max"),
            timestamp ("timestamp"), channel ("channel"), chance ("chance"), transposeMin ("transpose_min"),
            transposeMax ("transpose_max"), octaveMin ("octave_min"), octaveMax ("octave_max"),
            repeatStyle ("repeat_style"), repeatCount ("repeat_count");

        const juce::Identifier row ("row"), start ("start"), end ("end");
        const juce::Identifier type ("type"), value ("value"), curve ("curve"), shape ("shape");
    } // namespace ids

    // Trees restored from XML hold strings, trees built in memory hold numbers; both read the
    // same, and values outside the int range saturate instead of overflowing.
    int readInt (const juce::ValueTree& tree, const juce::Identifier& id, int defaultValue, int minValue, int maxValue)
    {
        const auto* property = tree.getPropertyPointer (id);

        if (property == nullptr)
            return juce::jlimit (minValue, maxValue, defaultValue);

        juce::int64 value = defaultValue;

        if (property->isInt() || property->isInt64() || property->isBool())
        {
            value = (juce::int64) *property;
        }
        else if (property->isDouble())
        {
            const auto d = (double) *property;

            if (! std::isfinite (d))
                return juce::jlimit (minValue, maxValue, defaultValue);

            value = (juce::int64) juce::jlimit (-9.0e18, 9.0e18, d);
        }
        else if (property->isString())
        {
            value = property->toString().getLargeIntValue();
        }

        return (int) juce::jlimit ((juce::int64) minValue, (juce::int64) maxValue, value);
    }

    int readInt (const juce::ValueTree& tree, const juce::Identifier& id, int defaultValue)
    {
        return readInt (tree, id, defaultValue, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    }

    float readCurve (const juce::ValueTree& tree)
    {
        const auto* property = tree.getPropertyPointer (ids::curve);

        if (property == nullptr)
            return 0.0f;

        const auto d = property->isString() ? property->toString().getDoubleValue() : (double) *property;
        return std::isfinite (d) ? (float) juce::jlimit (0.0, 1.0, d) : 0.0f;
    }

    juce::Range<int> controllerValueRange (int laneType) noexcept
    {
        if (laneType == ControllerLane::controlChange)
            return { 0, 127 };

        return { ControllerLane::pitchBendMin, ControllerLane::pitchBendMax };
    }

    void readRepeats (const juce::ValueTree& mods, SequenceNote& note)
    {
        note.repeatStyle = readInt (mods, ids::repeatStyle, SequenceNote::noRepeats);
        note.repeatCount = readInt (mods, ids::repeatCount, 0);
        note.repeatRate = {};

        if (note.repeatStyle == SequenceNote::repeatAtRate)
        {
            note.repeatRate = GridSize::fromIdentifier (note.repeatCount);
            note.repeatCount = note.repeatRate.identifier;
            return;
        }

        // A count of 0 or 1 is no repeat at all; anything above the menu's 16 strikes is a
        // damaged value that would make a rendering strike billions of times.
        if (note.repeatStyle == SequenceNote::repeatCountTimes && note.repeatCount >= SequenceLimits::minRepeatStrikes)
        {
            note.repeatCount = std::min (note.repeatCount, SequenceLimits::maxRepeatStrikes);
            return;
        }

        note.repeatStyle = SequenceNote::noRepeats;
        note.repeatCount = 0;
    }

    ControllerLane readLane (const juce::ValueTree& controller)
    {
        ControllerLane lane;
        const auto typeNode = controller.getChildWithName (ids::controllerType);

        // Without its type a lane cannot be told apart from others: it keeps the defaults
        // and no points.
        if (! typeNode.isValid())
            return lane;

        // A controller number outside 0..127 names no controller: the lane sends nothing
        // rather than a controller nobody chose (clamped to 127, Poly Mode On).
        lane.number = readInt (typeNode, ids::number, -1);

        if (! juce::isPositiveAndBelow (lane.number, 128))
            lane.number = -1;

        lane.channel = readInt (typeNode, ids::channel, 1, 1, 16);
        lane.name = typeNode.getProperty (ids::name).toString();
        lane.type = readInt (typeNode, ids::type, ControllerLane::pitchBend);

        const auto valueRange = controllerValueRange (lane.type);
        const auto pointsNode = controller.getChildWithName (ids::points);
        lane.points.reserve ((size_t) pointsNode.getNumChildren());

        for (const auto& pointNode : pointsNode)
        {
            ControllerPoint point;
            point.timestamp = readInt (pointNode, ids::timestamp, 0, 0, Sequence::maxLength);
            point.value = readInt (pointNode, ids::value, 0, valueRange.getStart(), valueRange.getEnd());
            point.curve = readCurve (pointNode);
            point.shape = readInt (pointNode, ids::shape, 0);
            lane.points.push_back (point);
        }

        return lane;
    }

    juce::ValueTree writeLane (const ControllerLane& lane)
    {
        juce::ValueTree controller (ids::controller);
        juce::ValueTree typeNode (ids::controllerType);
        typeNode.setProperty (ids::type, lane.type, nullptr);
        typeNode.setProperty (ids::channel, lane.channel, nullptr);

        if (lane.type == ControllerLane::controlChange)
            typeNode.setProperty (ids::number, lane.number, nullptr);

        if (lane.name.isNotEmpty())
            typeNode.setProperty (ids::name, lane.name, nullptr);

        controller.appendChild (typeNode, nullptr);

        if (! lane.points.empty())
        {
            juce::ValueTree pointsNode (ids::points);

            for (const auto& point : lane.points)
            {
                juce::ValueTree pointNode (ids::point);
                pointNode.setProperty (ids::timestamp, point.timestamp, nullptr);
                pointNode.setProperty (ids::value, point.value, nullptr);
                pointNode.setProperty (ids::curve, (double) point.curve, nullptr);
                pointNode.setProperty (ids::shape, point.shape, nullptr);
                pointsNode.appendChild (pointNode, nullptr);
            }

            controller.appendChild (pointsNode, nullptr);
        }

        return controller;
    }

    juce::String toText (const juce::ValueTree& tree)
    {
        return tree.toXmlString (juce::XmlElement::TextFormat().singleLine());
    }
} // namespace

//==============================================================================
juce::ValueTree writeNote (const SequenceNote& note)
{
    juce::ValueTree tree (ids::note);
    tree.setProperty (ids::number, note.number, nullptr);
    tree.setProperty (ids::velocityMin, note.velocityMin, nullptr);
    tree.setProperty (ids::velocityMax, note.velocityMax, nullptr);
    tree.setProperty (ids::timestamp, note.timestamp, nullptr);
    tree.setProperty (ids::length, note.length, nullptr);
    tree.setProperty (ids::channel, 1, nullptr);

    juce::ValueTree mods (ids::mods);

    if (note.chance <= 99)
        mods.setProperty (ids::chance, note.chance, nullptr);

    if (note.transposeMin != 0 || note.transposeMax != 0)
    {
        mods.setProperty (ids::transposeMin, note.transposeMin, nullptr);
        mods.setProperty (ids::transposeMax, note.transposeMax, nullptr);
    }

    if (note.octaveMin != 0 || note.octaveMax != 0)
    {
        mods.setProperty (ids::octaveMin, note.octaveMin, nullptr);
        mods.setProperty (ids::octaveMax, note.octaveMax, nullptr);
    }

    if (note.repeatStyle != SequenceNote::noRepeats)
    {
        mods.setProperty (ids::repeatStyle, note.repeatStyle, nullptr);
        mods.setProperty (ids::repeatCount,
                          note.repeatStyle == SequenceNote::repeatAtRate ? note.repeatRate.identifier : note.repeatCount,
                          nullptr);
    }

    if (mods.getNumProperties() > 0)
        tree.appendChild (mods, nullptr);

    return tree;
}

SequenceNote readNote (const juce::ValueTree& tree)
{
    SequenceNote note;

    if (! tree.hasType (ids::note))
        return note;

    note.channel = readInt (tree, ids::channel, 1, 1, 16);
    note.length = readInt (tree, ids::length, 0, 0, Sequence::maxLength);
    note.timestamp = readInt (tree, ids::timestamp, 0, 0, Sequence::maxLength);
    note.velocityMin = readInt (tree, ids::velocityMin, 0, 0, 127);
    note.velocityMax = std::max (note.velocityMin, readInt (tree, ids::velocityMax, 0, 0, 127));
    note.number = readInt (tree, ids::number, 0, 0, 127);

    const auto mods = tree.getChildWithName (ids::mods);

    if (mods.isValid())
    {
        using namespace SequenceLimits;
        note.transposeMin = readInt (mods, ids::transposeMin, 0, minTranspose, maxTranspose);
        note.transposeMax = std::max (note.transposeMin, readInt (mods, ids::transposeMax, 0, minTranspose, maxTranspose));
        note.octaveMin = readInt (mods, ids::octaveMin, 0, minOctave, maxOctave);
        note.octaveMax = std::max (note.octaveMin, readInt (mods, ids::octaveMax, 0, minOctave, maxOctave));
        note.chance = readInt (mods, ids::chance, 100, 0, 100);
        readRepeats (mods, note);
    }

    return note;
}

//==============================================================================
juce::ValueTree writeSequence (const Sequence& sequence)
{
    juce::ValueTree tree (ids::sequence);
    tree.setProperty (ids::length, sequence.getLength(), nullptr);
    tree.setProperty (ids::numerator, sequence.timeSignatureNumerator, nullptr);
    tree.setProperty (ids::denominator, sequence.timeSignatureDenominator, nullptr);

    if (sequence.playbackStart > 0)
        tree.setProperty (ids::playbackStart, sequence.playbackStart, nullptr);

    if (sequence.name.isNotEmpty())
        tree.setProperty (ids::name, sequence.name, nullptr);

    if (sequence.loopCount != -1)
        tree.setProperty (ids::loopCount, sequence.loopCount, nullptr);

    if (! sequence.notes.empty())
    {
        juce::ValueTree notes (ids::notes);

        for (const auto& note : sequence.notes)
            notes.appendChild (writeNote (note), nullptr);

        tree.appendChild (notes, nullptr);
    }

    juce::ValueTree loops (ids::loops);

    for (int row = 0; row < Sequence::numRows; ++row)
    {
        const auto& loop = sequence.loops[(size_t) row];

        if (loop.start == -1 && loop.end == -1)
            continue;

        juce::ValueTree loopNode (ids::loop);
        loopNode.setProperty (ids::row, row, nullptr);
        loopNode.setProperty (ids::start, loop.start, nullptr);
        loopNode.setProperty (ids::end, loop.end, nullptr);
        loops.appendChild (loopNode, nullptr);
    }

    if (loops.getNumChildren() > 0)
        tree.appendChild (loops, nullptr);

    juce::ValueTree controllers (ids::controllers);

    for (const auto& lane : sequence.lanes)
        controllers.appendChild (writeLane (lane), nullptr);

    tree.appendChild (controllers, nullptr);
    return tree;
}

Sequence readSequence (const juce::ValueTree& tree)
{
    Sequence sequence;

    const auto length = readInt (tree, ids::length, 0);
    const auto numerator = readInt (tree, ids::numerator, 0);
    const auto denominator = readInt (tree, ids::denominator, 0);

    // A signature whose bar is not a whole, positive number of ticks would break every
    // bar-based computation; such a tree keeps 4/4.
    if (Sequence::isValidTimeSignature (numerator, denominator))
    {
        sequence.timeSignatureNumerator = numerator;
        sequence.timeSignatureDenominator = denominator;
    }

    sequence.name = tree.getProperty (ids::name).toString();
    sequence.loopCount = readInt (tree, ids::loopCount, -1, SequenceLimits::minLoopCount, SequenceLimits::maxLoopCount);

    sequence.setLength (length);
    const auto usableLength = sequence.getLength();
    const auto playbackStart = readInt (tree, ids::playbackStart, 0);
    sequence.playbackStart = usableLength > 0 ? juce::jlimit (0, usableLength - 1, playbackStart) : 0;

    for (auto& loop : sequence.loops)
        loop.clear();

    const auto notes = tree.getChildWithName (ids::notes);
    sequence.notes.reserve ((size_t) notes.getNumChildren());

    for (const auto& child : notes)
        sequence.notes.push_back (readNote (child));

    for (const auto& child : tree.getChildWithName (ids::loops))
    {
        const auto row = readInt (child, ids::row, 0);

        if (! juce::isPositiveAndBelow (row, Sequence::numRows))
            continue;

        const auto start = readInt (child, ids::start, 0);
        const RowLoop loop { start, std::max (start, readInt (child, ids::end, 0)) };

        // Only a region that advances can repeat; anything else would loop forever.
        if (loop.isSet())
            sequence.loops[(size_t) row] = loop;
    }

    for (const auto& child : tree.getChildWithName (ids::controllers))
        if (child.hasType (ids::controller))
            sequence.lanes.push_back (readLane (child));

    sequence.normalise();
    return sequence;
}

//==============================================================================
bool sequencesAreEqual (const Sequence& a, const Sequence& b)
{
    if (a.notes.size() != b.notes.size() || a.loops != b.loops || a.getLength() != b.getLength()
        || a.playbackStart != b.playbackStart || a.timeSignatureNumerator != b.timeSignatureNumerator
        || a.timeSignatureDenominator != b.timeSignatureDenominator || a.name != b.name || a.loopCount != b.loopCount)
        return false;

    return toText (writeSequence (a)) == toText (writeSequence (b));
}

} // namespace tarn
