#pragma once

#include <juce_data_structures/juce_data_structures.h>

#include <array>
#include <atomic>
#include <optional>

/** One entry of the key lock panel's scale menu: its name and the semitones above the root
    that belong to it, as bit i = semitone i. */
struct Scale
{
    const char* name;
    juce::uint16 intervals;
};

/** The scale table. [any thread] */
namespace Scales
{
/** The fifteen scales in menu order. */
const std::array<Scale, 15>& all() noexcept;

/** The name of the scale with exactly these intervals, or "Invalid scale name". */
juce::String nameFor (juce::uint16 intervals);

/** The scale called name, if there is one. */
std::optional<Scale> find (const juce::String& name);

inline constexpr const char* invalidName = "Invalid scale name";
} // namespace Scales

/** A key for the output key lock: a root pitch class (0 = C) and twelve membership flags,
    flag i meaning that root + i semitones is in the key. Never empty: at least one flag is
    always set, so locking a note always finds a pitch. A plain value: [any thread]. */
class KeySignature
{
public:
    /** C major. */
    KeySignature() noexcept = default;

    KeySignature (int root, const Scale& scale) noexcept;

    /** A key from a root (any integer, reduced mod 12) and flags; none when no flag is set. */
    static std::optional<KeySignature> fromFlags (int root, juce::uint16 intervals) noexcept;

    int getRoot() const noexcept { return root; }
    juce::uint16 getIntervals() const noexcept { return intervals; }

    bool containsPitchClass (int pitchClass) const noexcept;

    /** Where key lock sends note n: n itself when it is in the key, else the nearest note
        in the key, looking upward first at each distance. The search stops at a distance of
        11 and at the ends of 0..127 (n stays when nothing is found). */
    int lockNote (int note) const noexcept;

    //==============================================================================
    /** The key as one word for the audio thread: flags in bits 0..11, root in bits 12..15. */
    juce::uint32 pack() const noexcept { return (juce::uint32) intervals | ((juce::uint32) root << 12); }
    static KeySignature unpack (juce::uint32 word) noexcept;

    //==============================================================================
    /** "1 0 1 0 1 1 0 1 0 1 0 1 ": twelve tokens, each followed by a space. */
    juce::String getIntervalsText() const;

    /** Flags from such a text; none unless it holds exactly twelve tokens "1" or "0" with
        at least one "1". */
    static std::optional<juce::uint16> parseIntervals (const juce::String& text);

    /** The scale's name, or "Invalid scale name" when no scale of the menu matches. */
    juce::String getScaleName() const { return Scales::nameFor (intervals); }

    /** "C Major", "F# Dorian". */
    juce::String getDisplayName() const;

    //==============================================================================
    /** The "key_signature" node of the state: "name", "root", and a "scale" child with
        "name" and "intervals". */
    juce::ValueTree toValueTree() const;

    /** The key a "key_signature" node describes. A node that is not usable (missing, or
        intervals without exactly twelve tokens or without any flag set) gives previous:
        an empty key would leave key lock nowhere to go. A missing root keeps previous's. */
    static KeySignature fromValueTree (const juce::ValueTree& node, const KeySignature& previous);

    bool operator== (const KeySignature& other) const noexcept { return root == other.root && intervals == other.intervals; }
    bool operator!= (const KeySignature& other) const noexcept { return ! operator== (other); }

private:
    int root = 0;
    juce::uint16 intervals = 0b101010110101; // major
};

/** The key signature the message thread sets and the audio thread reads, as one atomic
    word, so a key change is never seen half-made. */
class AtomicKeySignature
{
public:
    /** Returns true when the key changed. [any thread] */
    bool store (const KeySignature& key) noexcept { return word.exchange (key.pack()) != key.pack(); }

    /** [any thread] */
    KeySignature load() const noexcept { return KeySignature::unpack (word.load()); }

private:
    std::atomic<juce::uint32> word { KeySignature().pack() };
};
