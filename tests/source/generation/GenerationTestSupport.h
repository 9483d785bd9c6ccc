#pragma once

#include <tests/support/Phrases.h>
#include <tests/support/TestSeed.h>

#include <source/generation/ControllerGeneration.h>
#include <source/generation/GenerationSettings.h>
#include <source/generation/PhraseGenerator.h>
#include <source/generation/PhraseMutator.h>
#include <tarn/sequence/SequenceEditing.h>

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace generation_test
{
using cadenzium::test::makeNote;
using cadenzium::test::makeSequence;

/** count Pitch rows with values 0, 1, 2 ...; the listed ones locked. */
inline RowList makeRows (int count, std::set<int> locked = {})
{
    RowList rows ((size_t) count);
    for (int i = 0; i < count; ++i)
        std::tie (rows[(size_t) i].value, rows[(size_t) i].generationLock) = std::tuple (i, locked.count (i) > 0);
    return rows;
}

inline GenerationSettings makeSettings (GenerationSettings::Polyphony polyphony,
                                        GenerationSettings::Mode mode = GenerationSettings::Mode::random,
                                        int density = 100,
                                        int lengthIndex = 1)
{
    GenerationSettings s;
    std::tie (s.polyphony, s.mode, s.density, s.lengthIndex) = std::tie (polyphony, mode, density, lengthIndex);
    s.lengthVariation = 0.0f;
    return s;
}

inline tarn::Sequence generateWithSeed (const tarn::Sequence& phrase,
                                        const RowList& rows,
                                        const GenerationSettings& settings,
                                        juce::int64 seed,
                                        consts::RegenerationMode target = consts::RegenerationMode::notes,
                                        const juce::ValueTree& node = juce::ValueTree (ControllerGeneration::Ids::generation))
{
    juce::Random random (seed);
    return PhraseGenerator::generate (phrase, rows, settings, node, target, random);
}

/** The notes that start at t. */
inline std::vector<tarn::SequenceNote> notesAt (const tarn::Sequence& phrase, int t)
{
    std::vector<tarn::SequenceNote> found;
    for (const auto& note : phrase.notes)
        if (note.timestamp == t)
            found.push_back (note);
    return found;
}

/** The i-th of a set of well spread seeds: juce::Random's first draws from neighbouring
    seeds are nearly equal, so loops over seeds must not use 1, 2, 3 ... directly. */
inline juce::int64 spreadSeed (juce::int64 i)
{
    auto x = (juce::uint64) i + 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return (juce::int64) (x ^ (x >> 31));
}

/** A fresh seed for a property test; print it with SCOPED_TRACE so a failure can be replayed. */
inline juce::int64 freshSeed()
{
    return cadenzium::test::testSeed (0x6e7e4a7e5eed);
}
} // namespace generation_test
