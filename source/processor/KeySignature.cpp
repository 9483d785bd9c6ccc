#include "KeySignature.h"

#include <cmath>

namespace
{
constexpr juce::uint16 flagsOf (std::initializer_list<int> semitones) noexcept
{
    juce::uint16 flags = 0;

    for (auto s : semitones)
        flags = (juce::uint16) (flags | (1u << s));

    return flags;
}

constexpr std::array<Scale, 15> scaleTable { {
    { "Major", flagsOf ({ 0, 2, 4, 5, 7, 9, 11 }) },
    { "Harmonic Minor", flagsOf ({ 0, 2, 3, 5, 7, 8, 11 }) },
    { "Natural Minor", flagsOf ({ 0, 2, 3, 5, 7, 8, 10 }) },
    { "Dorian", flagsOf ({ 0, 2, 3, 5, 7, 9, 10 }) },
    { "Phryrgian", flagsOf ({ 0, 1, 3, 5, 7, 8, 10 }) },
    { "Lydian", flagsOf ({ 0, 2, 4, 6, 7, 9, 11 }) },
    { "Lydian Flat 7", flagsOf ({ 0, 2, 4, 6, 7, 9, 10 }) },
    { "Mixolydian", flagsOf ({ 0, 2, 4, 5, 7, 9, 10 }) },
    { "Locrian", flagsOf ({ 0, 1, 3, 5, 6, 8, 10 }) },
    { "Jazz Melodic Minor", flagsOf ({ 0, 2, 3, 5, 7, 9, 11 }) },
    { "Pentatonic Major", flagsOf ({ 0, 2, 4, 7, 9 }) },
    { "Pentatonic Minor", flagsOf ({ 0, 3, 5, 7, 10 }) },
    { "Chromatic", 0x0fff },
    { "Octaves", flagsOf ({ 0 }) },
    { "Fifths", flagsOf ({ 0, 7 }) },
} };

constexpr juce::uint16 allFlags = 0x0fff;

const char* const rootNames[] = { "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B" };

int reduceRoot (int root) noexcept
{
    return ((root % 12) + 12) % 12;
}

namespace ids
{
    const juce::Identifier keySignature { "key_signature" };
    const juce::Identifier scale { "scale" };
    const juce::Identifier name { "name" };
    const juce::Identifier root { "root" };
    const juce::Identifier intervals { "intervals" };
} // namespace ids
} // namespace

//==============================================================================
const std::array<Scale, 15>& Scales::all() noexcept
{
    return scaleTable;
}

juce::String Scales::nameFor (juce::uint16 intervals)
{
    for (const auto& scale : scaleTable)
        if (scale.intervals == (intervals & allFlags))
            return scale.name;

    return invalidName;
}

std::optional<Scale> Scales::find (const juce::String& name)
{
    for (const auto& scale : scaleTable)
        if (name == scale.name)
            return scale;

    return std::nullopt;
}

//==============================================================================
KeySignature::KeySignature (int newRoot, const Scale& scale) noexcept
    : root (reduceRoot (newRoot))
    , intervals ((scale.intervals & allFlags) != 0 ? (juce::uint16) (scale.intervals & allFlags) : KeySignature().intervals)
{
}

std::optional<KeySignature> KeySignature::fromFlags (int newRoot, juce::uint16 newIntervals) noexcept
{
    if ((newIntervals & allFlags) == 0)
        return std::nullopt;

    KeySignature key;
    key.root = reduceRoot (newRoot);
    key.intervals = (juce::uint16) (newIntervals & allFlags);
    return key;
}

KeySignature KeySignature::unpack (juce::uint32 word) noexcept
{
    return fromFlags ((int) ((word >> 12) & 0x0f), (juce::uint16) (word & allFlags)).value_or (KeySignature());
}

bool KeySignature::containsPitchClass (int pitchClass) const noexcept
{
    const auto degree = reduceRoot (pitchClass - root);
    return (intervals & (1u << degree)) != 0;
}

int KeySignature::lockNote (int note) const noexcept
{
    if (containsPitchClass (note))
        return note;

    // Eleven steps either way reach every pitch class, so a non-empty key always answers.
    for (int distance = 1; distance <= 11; ++distance)
    {
        if (const auto up = note + distance; up <= 127 && containsPitchClass (up))
            return up;

        if (const auto down = note - distance; down >= 0 && containsPitchClass (down))
            return down;
    }

    return note;
}

juce::String KeySignature::getIntervalsText() const
{
    juce::String text;

    for (int i = 0; i < 12; ++i)
        text << ((intervals & (1u << i)) != 0 ? "1 " : "0 ");

    return text;
}

std::optional<juce::uint16> KeySignature::parseIntervals (const juce::String& text)
{
    juce::StringArray tokens;
    tokens.addTokens (text, " \t\r\n", {});
    tokens.removeEmptyStrings();

    if (tokens.size() != 12)
        return std::nullopt;

    juce::uint16 flags = 0;

    for (int i = 0; i < 12; ++i)
    {
        if (tokens[i] == "1")
            flags = (juce::uint16) (flags | (1u << i));
        else if (tokens[i] != "0")
            return std::nullopt;
    }

    if (flags == 0)
        return std::nullopt;

    return flags;
}

juce::String KeySignature::getDisplayName() const
{
    return juce::String (rootNames[root]) + " " + getScaleName();
}

juce::ValueTree KeySignature::toValueTree() const
{
    juce::ValueTree scale (ids::scale);
    scale.setProperty (ids::name, getScaleName(), nullptr);
    scale.setProperty (ids::intervals, getIntervalsText(), nullptr);

    juce::ValueTree node (ids::keySignature);
    node.setProperty (ids::name, getDisplayName(), nullptr);
    node.setProperty (ids::root, root, nullptr);
    node.appendChild (scale, nullptr);
    return node;
}

KeySignature KeySignature::fromValueTree (const juce::ValueTree& node, const KeySignature& previous)
{
    if (! node.isValid())
        return previous;

    const auto scale = node.getChildWithName (ids::scale);
    const auto flags = parseIntervals (scale.getProperty (ids::intervals).toString());

    if (! flags.has_value())
        return previous;

    const auto rootValue = node.getProperty (ids::root);
    const auto rootNumber = (double) rootValue;
    const auto rootIsUsable = ! rootValue.isVoid() && std::isfinite (rootNumber) && std::abs (rootNumber) < 1.0e9;
    const auto newRoot = rootIsUsable ? (int) rootNumber : previous.getRoot();

    return fromFlags (newRoot, *flags).value_or (previous);
}
