#include "PhraseDifference.h"

#include <algorithm>
#include <tuple>

namespace tarn
{
namespace
{
    auto key (const SequenceNote& n) noexcept
    {
        return std::tie (n.timestamp, n.number, n.length, n.velocityMin, n.velocityMax, n.chance, n.transposeMin, n.transposeMax,
                         n.octaveMin, n.octaveMax, n.channel, n.repeatStyle, n.repeatCount, n.repeatRate.identifier);
    }

    std::vector<const SequenceNote*> sortedNotes (const Sequence& sequence)
    {
        std::vector<const SequenceNote*> notes;
        notes.reserve (sequence.notes.size());

        for (const auto& note : sequence.notes)
            notes.push_back (&note);

        std::sort (notes.begin(), notes.end(), [] (const SequenceNote* a, const SequenceNote* b)
                   { return key (*a) < key (*b); });
        return notes;
    }
} // namespace

PhraseDifference PhraseDifference::between (const Sequence& before, const Sequence& after)
{
    PhraseDifference difference;
    difference.timingChanged = before.getLength() != after.getLength()
                               || before.timeSignatureNumerator != after.timeSignatureNumerator
                               || before.timeSignatureDenominator != after.timeSignatureDenominator;
    difference.lanesChanged = before.lanes != after.lanes;

    for (int row = 0; row < Sequence::numRows; ++row)
        if (before.loops[(size_t) row] != after.loops[(size_t) row])
            difference.loopRows.push_back (row);

    const auto a = sortedNotes (before), b = sortedNotes (after);
    const auto less = [] (const SequenceNote* x, const SequenceNote* y)
    { return key (*x) < key (*y); };
    const auto add = [&difference] (const SequenceNote* note)
    { difference.notes.push_back ({ note->timestamp, note->getEnd(), note->number }); };

    size_t i = 0, j = 0;

    while (i < a.size() || j < b.size())
    {
        if (j == b.size() || (i < a.size() && less (a[i], b[j])))
            add (a[i++]);
        else if (i == a.size() || less (b[j], a[i]))
            add (b[j++]);
        else
            ++i, ++j;
    }

    return difference;
}

} // namespace tarn
