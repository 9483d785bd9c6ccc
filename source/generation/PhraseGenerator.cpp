#include "PhraseGenerator.h"

#include "ControllerGeneration.h"
#include "NotePlacement.h"
#include "RandomDraws.h"

#include <tarn/util/RandomSource.h>

namespace PhraseGenerator
{
namespace
{
    using consts::RegenerationMode;

    bool rebuildsNotes (RegenerationMode target) noexcept
    {
        return target == RegenerationMode::phrase || target == RegenerationMode::notes;
    }

    bool fillsControllers (RegenerationMode target) noexcept
    {
        return target == RegenerationMode::phrase || target == RegenerationMode::controllers;
    }

    /** The attribute draws, note by note in phrase order: velocity, transpose (value, then
        roll), octave (value, then roll), chance. A target of one attribute draws only that. */
    void drawAttributes (tarn::Sequence& phrase,
                         const NotePlacement::UnlockedRows& unlocked,
                         const GenerationSettings& s,
                         RegenerationMode target,
                         juce::Random& random)
    {
        const auto all = rebuildsNotes (target);
        const auto drawsVelocity = all || target == RegenerationMode::velocity;
        const auto drawsTranspose = all || target == RegenerationMode::transpose;
        const auto drawsOctave = all || target == RegenerationMode::octave;
        const auto drawsChance = all || target == RegenerationMode::chance;

        if (! (drawsVelocity || drawsTranspose || drawsOctave || drawsChance))
            return;

        for (auto& note : phrase.notes)
        {
            if (! unlocked.contains (note.number))
                continue;

            if (drawsVelocity)
                note.velocityMin = note.velocityMax = generation::drawBetween (random, s.velocityMin, s.velocityMax);

            if (drawsTranspose)
            {
                const auto transpose = generation::drawBetween (random, s.transposeMin, s.transposeMax);

                if (generation::roll (random) < s.transposeChance)
                    note.transposeMin = note.transposeMax = transpose;
            }

            if (drawsOctave)
            {
                const auto octave = generation::drawBetween (random, s.octaveMin, s.octaveMax);

                if (generation::roll (random) < s.octaveChance)
                    note.octaveMin = note.octaveMax = octave;
            }

            if (drawsChance)
                note.chance = generation::drawBetween (random, s.chanceMin, s.chanceMax);
        }
    }
} // namespace

std::vector<bool> findUnlockedRows (const RowList& rows)
{
    const auto numRows = std::min ((int) rows.size(), tarn::Sequence::numRows);
    std::vector<bool> unlocked ((size_t) numRows, false);

    for (int i = 0; i < numRows; ++i)
        unlocked[(size_t) i] = ! rows[(size_t) i].generationLock;

    return unlocked;
}

tarn::Sequence generate (const tarn::Sequence& phrase,
                         const RowList& rows,
                         const GenerationSettings& settingsToUse,
                         const juce::ValueTree& generationNode,
                         consts::RegenerationMode target,
                         juce::Random& random)
{
    auto result = phrase;
    const NotePlacement::UnlockedRows unlocked (findUnlockedRows (rows));

    if (unlocked.isEmpty())
        return result;

    const auto settings = settingsToUse.clamped();

    if (target == RegenerationMode::phrase)
    {
        for (auto& loop : result.loops)
            loop.clear();

        result.normalise();
    }

    if (rebuildsNotes (target))
    {
        std::erase_if (result.notes, [&unlocked] (const tarn::SequenceNote& note)
                       { return unlocked.contains (note.number); });
        NotePlacement::placeNotes (result, unlocked, settings, random);
    }

    drawAttributes (result, unlocked, settings, target, random);

    if (fillsControllers (target))
        ControllerGeneration::fillLanes (result, generationNode, random);

    result.normalise();
    return result;
}

tarn::Sequence generate (const tarn::Sequence& phrase,
                         const RowList& rows,
                         const GenerationSettings& settings,
                         const juce::ValueTree& generationNode,
                         consts::RegenerationMode target)
{
    auto random = tarn::RandomSource::makeGenerator();
    return generate (phrase, rows, settings, generationNode, target, random);
}
} // namespace PhraseGenerator
