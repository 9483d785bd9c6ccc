#include "PhraseMutator.h"

#include "RandomDraws.h"
#include "RowOccupancy.h"

#include <tarn/util/RandomSource.h>

#include <algorithm>
#include <optional>

namespace
{
constexpr int lengthTries = 8;

/** A candidate note, by its position in the working phrase, with its window. */
struct Member
{
    size_t note;
    RowWindow window;
};

using Group = std::vector<Member>;

/** One mutation run on a working copy; the generator is the mutator's. */
class MutationRun
{
public:
    MutationRun (tarn::Sequence& phraseToChange, const RowList& rowTable, const MutationSettings& s, int gridTicks, juce::Random& r)
        : phrase (phraseToChange)
        , rows (rowTable)
        , settings (s)
        , timingStep (gridTicks)
        , random (r)
        , occupancy (phraseToChange, (int) rowTable.size())
        , inCurrentGroup (phraseToChange.notes.size(), false)
    {
        rankPitchRows();
    }

    bool run()
    {
        auto groups = collectGroups();

        if (groups.empty())
            return false;

        for (auto i = (int) groups.size() - 1; i >= 1; --i)
            std::swap (groups[(size_t) i], groups[(size_t) random.nextInt (i + 1)]);

        size_t numCandidates = 0;

        for (const auto& group : groups)
            numCandidates += group.size();

        const auto target = std::max (1, juce::roundToInt ((float) std::min (settings.chance, 100) / 100.0f * (float) numCandidates));

        // Whole groups, so notes that start together change together; the share is approximate.
        size_t mutated = 0;

        for (auto& group : groups)
        {
            mutateGroup (group);
            mutated += group.size();

            if (mutated >= (size_t) target)
                break;
        }

        return changed;
    }

private:
    tarn::Sequence& phrase;
    const RowList& rows;
    const MutationSettings& settings;
    const int timingStep;
    juce::Random& random;

    std::vector<int> rankedPitchValues; // the values of the unlocked Pitch rows, ascending
    generation::RowOccupancy occupancy;
    std::vector<bool> inCurrentGroup;
    std::vector<int> choices; // weighted choices, reused
    bool changed = false;

    bool isUnlockedRow (int row) const noexcept
    {
        return row >= 0 && row < (int) rows.size() && ! rows[(size_t) row].generationLock;
    }

    bool isUnlockedPitchRow (int row) const noexcept
    {
        return isUnlockedRow (row) && rows[(size_t) row].type == CadenziumModifier::pitch;
    }

    int rankOf (int value) const noexcept
    {
        return (int) (std::lower_bound (rankedPitchValues.begin(), rankedPitchValues.end(), value) - rankedPitchValues.begin());
    }

    void rankPitchRows()
    {
        for (int row = 0; row < (int) rows.size(); ++row)
            if (isUnlockedPitchRow (row))
                rankedPitchValues.push_back (rows[(size_t) row].value);

        std::sort (rankedPitchValues.begin(), rankedPitchValues.end());
        rankedPitchValues.erase (std::unique (rankedPitchValues.begin(), rankedPitchValues.end()), rankedPitchValues.end());
    }

    std::vector<Group> collectGroups() const
    {
        std::vector<size_t> candidates;

        for (size_t i = 0; i < phrase.notes.size(); ++i)
            if (isUnlockedRow (phrase.notes[i].number))
                candidates.push_back (i);

        std::stable_sort (candidates.begin(), candidates.end(), [this] (size_t a, size_t b)
                          { return phrase.notes[a].timestamp < phrase.notes[b].timestamp; });

        std::vector<Group> groups;

        for (auto i : candidates)
        {
            const auto& note = phrase.notes[i];

            if (groups.empty() || phrase.notes[groups.back().front().note].timestamp != note.timestamp)
                groups.emplace_back();

            groups.back().push_back ({ i, RowWindow::forRow (phrase, note.number, note.timestamp) });
        }

        return groups;
    }

    bool rowIsTakenBesides (size_t note, int row, juce::int64 start, juce::int64 length) const
    {
        return occupancy.isTaken (row, start, length, [note] (size_t i)
                                  { return i == note; });
    }

    /** Enters each choice as often as its weight, then draws one; nothing when none is allowed. */
    std::optional<int> drawWeighted()
    {
        if (choices.empty())
            return std::nullopt;

        return choices[(size_t) random.nextInt ((int) choices.size())];
    }

    void addChoice (int choice, int weight)
    {
        for (int i = 0; i < weight; ++i)
            choices.push_back (choice);
    }

    void mutateGroup (Group& group)
    {
        if (settings.timing > 0 && timingStep > 0)
            shiftGroupInTime (group);

        for (auto& member : group)
        {
            if (settings.pitch > 0 && isUnlockedPitchRow (phrase.notes[member.note].number))
                moveToNearbyPitchRow (member);

            if (settings.length > 0)
                changeLength (member);

            if (settings.velocity > 0)
                shiftVelocity (phrase.notes[member.note]);
        }
    }

    /** Whether two members of a group share a row: such a group cannot move in time. */
    bool groupDoublesARow (const Group& group) const
    {
        std::vector<int> groupRows;

        for (const auto& member : group)
            groupRows.push_back (phrase.notes[member.note].number);

        std::sort (groupRows.begin(), groupRows.end());
        return std::adjacent_find (groupRows.begin(), groupRows.end()) != groupRows.end();
    }

    bool groupCanShiftBy (const Group& group, juce::int64 shift) const
    {
        const auto inGroup = [this] (size_t i)
        { return (bool) inCurrentGroup[i]; };

        for (const auto& member : group)
        {
            const auto& note = phrase.notes[member.note];
            const auto start = note.timestamp + shift;

            if (! member.window.holds (start, note.length) || occupancy.isTaken (note.number, start, note.length, inGroup))
                return false;
        }

        return true;
    }

    void shiftGroupInTime (const Group& group)
    {
        if (groupDoublesARow (group))
            return;

        for (const auto& member : group)
            inCurrentGroup[member.note] = true;

        choices.clear();

        for (int d = -settings.timing; d <= settings.timing; ++d)
            if (d != 0 && groupCanShiftBy (group, (juce::int64) d * timingStep))
                addChoice (d, settings.timing + 1 - std::abs (d));

        for (const auto& member : group)
            inCurrentGroup[member.note] = false;

        if (const auto d = drawWeighted())
        {
            for (const auto& member : group)
            {
                occupancy.remove (member.note);
                phrase.notes[member.note].timestamp += *d * timingStep;
                occupancy.add (member.note);
            }

            changed = true;
        }
    }

    void moveToNearbyPitchRow (Member& member)
    {
        auto& note = phrase.notes[member.note];
        const auto value = rows[(size_t) note.number].value;
        const auto rank = rankOf (value);

        choices.clear();

        for (int row = 0; row < (int) rows.size(); ++row)
        {
            if (! isUnlockedPitchRow (row) || rows[(size_t) row].value == value)
                continue;

            const auto distance = std::abs (rankOf (rows[(size_t) row].value) - rank);

            if (distance > settings.pitch || ! windowOnRow (member, row).holds (note.timestamp, note.length)
                || rowIsTakenBesides (member.note, row, note.timestamp, note.length))
                continue;

            addChoice (row, settings.pitch + 1 - distance);
        }

        if (const auto row = drawWeighted())
        {
            member.window = windowOnRow (member, *row);
            occupancy.remove (member.note);
            note.number = *row;
            occupancy.add (member.note);
            changed = true;
        }
    }

    /** The member's window narrowed to what the other row allows at its start. */
    RowWindow windowOnRow (const Member& member, int row) const
    {
        const auto other = RowWindow::forRow (phrase, row, phrase.notes[member.note].timestamp);
        const auto lo = std::max (other.lo, member.window.lo);
        return { lo, std::max (lo, std::min (other.hi, member.window.hi)) };
    }

    void changeLength (const Member& member)
    {
        auto& note = phrase.notes[member.note];
        const auto scaled = (juce::int64) note.length * settings.length;

        if (scaled < 100)
            return;

        const auto range = (int) std::min ((juce::int64) std::numeric_limits<int>::max(), scaled / 100 + 1);

        for (int attempt = 0; attempt < lengthTries; ++attempt)
        {
            const auto first = random.nextInt (range);
            const auto delta = first - random.nextInt (range);
            const auto newLength = (juce::int64) note.length + delta;

            if (delta != 0 && member.window.holds (note.timestamp, newLength)
                && ! rowIsTakenBesides (member.note, note.number, note.timestamp, newLength))
            {
                note.length = (int) newLength;
                occupancy.lengthChanged (member.note);
                changed = true;
                return;
            }
        }
    }

    void shiftVelocity (tarn::SequenceNote& note)
    {
        if (note.velocityMin < 1 || note.velocityMax > 127 || note.velocityMin > note.velocityMax)
            return;

        choices.clear();

        for (int d = std::max (1 - note.velocityMin, -settings.velocity); d <= std::min (127 - note.velocityMax, settings.velocity); ++d)
            if (d != 0)
                addChoice (d, settings.velocity + 1 - std::abs (d));

        if (const auto d = drawWeighted())
        {
            // The range moves as a whole, so its width is kept.
            note.velocityMin += *d;
            note.velocityMax = std::max (note.velocityMax + *d, note.velocityMin);
            changed = true;
        }
    }
};
} // namespace

//==============================================================================
RowWindow RowWindow::forRow (const tarn::Sequence& phrase, int row, int t) noexcept
{
    const auto length = phrase.getLength();

    if (length < 1 || row < 0 || row >= tarn::Sequence::numRows)
        return {};

    const auto& loop = phrase.loops[(size_t) row];

    if (! (0 <= loop.start && loop.start < loop.end))
        return { 0, length };

    if (t < loop.start)
        return { 0, std::min (loop.start, length) };

    if (loop.start >= length)
        return {};

    return { loop.start, std::max (std::min (loop.end, length), loop.start) };
}

//==============================================================================
PhraseMutator::PhraseMutator()
    : random (tarn::RandomSource::nextSeed())
{
}

PhraseMutator::PhraseMutator (juce::int64 seed)
    : random (seed)
{
}

MutationResult PhraseMutator::mutate (const tarn::Sequence& phrase, const RowList& rows, const MutationSettings& settingsToUse, const tarn::GridSize& grid)
{
    MutationResult result { phrase, false };
    const auto settings = settingsToUse.clamped();

    if (settings.chance <= 0 || phrase.notes.empty() || ! settings.hasAnyAmount())
        return result;

    MutationRun run (result.sequence, rows, settings, grid.ticks, random);
    result.changed = run.run();

    if (result.changed)
        result.sequence.normalise();

    return result;
}
