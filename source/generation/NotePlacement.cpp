#include "NotePlacement.h"

#include "RandomDraws.h"

#include <algorithm>

namespace NotePlacement
{
namespace
{
    constexpr int maxPasses = 1001;
    constexpr int shortestNote = 120; // a 1/32: every start and length lies on this grid

    /** Draws of an unlocked row until one is not yet taken. The bound only matters if the
        generator could never reach a free row; it then takes the first free one. */
    int drawFreeRow (juce::Random& random, const UnlockedRows& unlocked, const std::vector<int>& taken)
    {
        const auto isTaken = [&taken] (int row)
        { return std::find (taken.begin(), taken.end(), row) != taken.end(); };

        for (int attempt = 0; attempt < 1000000; ++attempt)
        {
            const auto row = unlocked[generation::drawBelow (random, unlocked.count())];

            if (! isTaken (row))
                return row;
        }

        for (auto row : unlocked.all())
            if (! isTaken (row))
                return row;

        return unlocked[0];
    }

    tarn::SequenceNote makeGeneratedNote (int row, int timestamp, int length)
    {
        tarn::SequenceNote note;
        note.number = row;
        note.timestamp = timestamp;
        note.length = length;
        note.velocityMin = note.velocityMax = 100;
        return note;
    }

    class Walker
    {
    public:
        Walker (tarn::Sequence& phraseToFill, const UnlockedRows& rowsToUse, const GenerationSettings& s, juce::Random& r)
            : phrase (phraseToFill)
            , unlocked (rowsToUse)
            , settings (s)
            , random (r)
            , variationBound (s.getVariationBound())
            , chordCompanions (s.polyphony == GenerationSettings::Polyphony::chords
                                   ? juce::jlimit (0, rowsToUse.count() - 1, juce::roundToInt ((float) (rowsToUse.count() - 1) * s.chordDensity / 100.0f))
                                   : 0)
        {
        }

        /** Walks over [0, span) until a pass has placed a note or the passes run out. */
        void fill (int span)
        {
            // Only a pass that places nothing is followed by another, so the kept notes'
            // starts are the same for every pass.
            collectLockedStarts();

            for (int pass = 0; pass < maxPasses; ++pass)
            {
                placedAny = false;

                if (settings.polyphony == GenerationSettings::Polyphony::poly)
                {
                    for (auto row : unlocked.all())
                        walk (span, row);
                }
                else
                {
                    walk (span, -1);
                }

                if (placedAny)
                    return;
            }
        }

    private:
        tarn::Sequence& phrase;
        const UnlockedRows& unlocked;
        const GenerationSettings& settings;
        juce::Random& random;
        const int variationBound;
        const int chordCompanions;

        std::vector<int> lockedStarts; // sorted
        std::vector<int> chordRows;
        bool placedAny = false;

        void collectLockedStarts()
        {
            lockedStarts.clear();

            for (const auto& note : phrase.notes)
                lockedStarts.push_back (note.timestamp);

            std::sort (lockedStarts.begin(), lockedStarts.end());
            lockedStarts.erase (std::unique (lockedStarts.begin(), lockedStarts.end()), lockedStarts.end());
        }

        bool startsOnLockedNote (int t) const
        {
            return std::binary_search (lockedStarts.begin(), lockedStarts.end(), t);
        }

        int drawLength()
        {
            const auto exponent = juce::jlimit (0, GenerationSettings::maxLengthExponent, settings.lengthIndex + generation::drawBelow (random, variationBound));
            return (1 << exponent) * shortestNote;
        }

        /** One walk; a Poly walk stays on fixedRow, any other draws a row per note. */
        void walk (int span, int fixedRow)
        {
            int t = 0;

            while (t < span)
            {
                auto length = drawLength();

                if (generation::roll (random) >= settings.density)
                {
                    t += length;
                    continue;
                }

                if (length > span - t)
                    length = span - t;

                const auto end = t + length;
                auto row = fixedRow;

                if (fixedRow < 0)
                {
                    row = unlocked[generation::drawBelow (random, unlocked.count())];

                    // Mono and Chords leave the starts of kept notes to those notes.
                    if (startsOnLockedNote (t))
                    {
                        t = end;
                        continue;
                    }
                }

                phrase.notes.push_back (makeGeneratedNote (row, t, length));

                if (chordCompanions > 0)
                {
                    chordRows.assign (1, row);

                    for (int k = 0; k < chordCompanions; ++k)
                    {
                        const auto companion = drawFreeRow (random, unlocked, chordRows);
                        phrase.notes.push_back (makeGeneratedNote (companion, t, length));
                        chordRows.push_back (companion);
                    }
                }

                placedAny = true;
                t = end;
            }
        }
    };

    /** The second half: copies of the new first-half notes, with their rows or times changed
        by the mode. */
    void addSecondHalf (tarn::Sequence& phrase, const UnlockedRows& unlocked, GenerationSettings::Mode mode, juce::Random& random)
    {
        const auto length = phrase.getLength();
        const auto half = length / 2;
        std::vector<tarn::SequenceNote> copies;
        std::vector<int> sourceStarts;

        for (const auto& source : phrase.notes)
        {
            if (! unlocked.contains (source.number))
                continue;

            tarn::SequenceNote copy;
            copy.number = source.number;
            copy.length = source.length;
            copy.channel = source.channel;
            copy.velocityMin = source.velocityMin;
            copy.velocityMax = source.velocityMax;
            copy.timestamp = source.timestamp + half;
            copies.push_back (copy);
            sourceStarts.push_back (source.timestamp);
        }

        if (mode == GenerationSettings::Mode::response)
        {
            // Simultaneous copies take distinct rows, so a chord keeps its size.
            std::vector<int> usedAtStart;

            for (size_t i = 0; i < copies.size(); ++i)
            {
                if (i == 0 || copies[i].timestamp != copies[i - 1].timestamp || (int) usedAtStart.size() >= unlocked.count())
                    usedAtStart.clear();

                copies[i].number = drawFreeRow (random, unlocked, usedAtStart);
                usedAtStart.push_back (copies[i].number);
            }
        }
        else if (mode == GenerationSettings::Mode::invert)
        {
            std::vector<int> rows;

            for (const auto& copy : copies)
                if (std::find (rows.begin(), rows.end(), copy.number) == rows.end())
                    rows.push_back (copy.number);

            std::sort (rows.begin(), rows.end());

            for (auto& copy : copies)
            {
                const auto index = (size_t) (std::lower_bound (rows.begin(), rows.end(), copy.number) - rows.begin());
                copy.number = rows[rows.size() - 1 - index];
            }
        }
        else if (mode == GenerationSettings::Mode::reverse)
        {
            for (size_t i = 0; i < copies.size(); ++i)
                copies[i].timestamp = length - sourceStarts[i] - copies[i].length;
        }

        phrase.notes.insert (phrase.notes.end(), copies.begin(), copies.end());
        phrase.normalise();
    }
} // namespace

UnlockedRows::UnlockedRows (const std::vector<bool>& rowIsUnlocked)
    : membership (rowIsUnlocked)
{
    for (size_t i = 0; i < membership.size(); ++i)
        if (membership[i])
            rows.push_back ((int) i);
}

void placeNotes (tarn::Sequence& phrase, const UnlockedRows& unlocked, const GenerationSettings& settings, juce::Random& random)
{
    if (unlocked.isEmpty())
        return;

    const auto mirrored = settings.mode != GenerationSettings::Mode::random;

    if (settings.density > 0)
    {
        Walker walker (phrase, unlocked, settings, random);
        walker.fill (mirrored ? phrase.getLength() / 2 : phrase.getLength());
        phrase.normalise();
    }

    if (mirrored)
        addSecondHalf (phrase, unlocked, settings.mode, random);
}
} // namespace NotePlacement
