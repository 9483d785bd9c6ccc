#include "ChordSources.h"

#include <tarn/util/RandomSource.h>

#include <algorithm>

void ChordSources::build (const HeldNotes& held) noexcept
{
    pressOrder = held;
    const auto n = held.size();

    std::copy (held.begin(), held.end(), filled.begin());
    std::sort (filled.begin(), filled.begin() + n, [] (const HeldNote& a, const HeldNote& b)
               { return a.note < b.note; });

    std::copy (held.begin(), held.end(), byVelocity.begin());
    std::sort (byVelocity.begin(), byVelocity.begin() + n, [] (const HeldNote& a, const HeldNote& b)
               {
                   const auto va = juce::roundToInt (a.velocity * 127.0f), vb = juce::roundToInt (b.velocity * 127.0f);
                   return va != vb ? va < vb : a.note < b.note; });

    numFilled = n;

    if (n == 0)
        return;

    // Each pitch class takes the velocity of its highest held note.
    std::array<const HeldNote*, 12> byPitchClass {};

    for (int i = 0; i < n; ++i)
        byPitchClass[(size_t) (filled[(size_t) i].note % 12)] = &filled[(size_t) i];

    const auto highest = filled[(size_t) n - 1].note;

    for (auto octaveStart = highest - highest % 12; octaveStart < 128; octaveStart += 12)
    {
        for (int pitchClass = 0; pitchClass < 12; ++pitchClass)
        {
            const auto note = octaveStart + pitchClass;

            if (byPitchClass[(size_t) pitchClass] == nullptr || note <= highest)
                continue;

            if (note >= 128 || numFilled >= (int) filled.size())
                return;

            auto extra = *byPitchClass[(size_t) pitchClass];
            extra.note = note;
            filled[(size_t) numFilled++] = extra;
        }
    }
}

void ChordSources::find (const CadenziumModifier& row, bool fill, SourceNotes& out) const noexcept
{
    const auto numHeld = pressOrder.size();
    const auto v = row.value;

    const auto pick = [&out] (const HeldNote& n)
    { out.add ({ n.note, n.velocity }); };

    switch (row.type)
    {
        case CadenziumModifier::pitch:
            if (numHeld == 0 || v < 0)
                return;

            if (v == CadenziumModifier::highestPitchValue)
                pick (filled[(size_t) numHeld - 1]);
            else if (v < (fill ? numFilled : numHeld))
                pick (filled[(size_t) v]);
            return;

        case CadenziumModifier::velocity:
            if (numHeld == 0 || v < 0)
                return;

            if (v == CadenziumModifier::lastVelocityOrTimingValue)
                pick (byVelocity[(size_t) numHeld - 1]);
            else if (v < numHeld)
                pick (byVelocity[(size_t) v]);
            return;

        case CadenziumModifier::timing:
            if (numHeld == 0 || v < 0)
                return;

            if (v == CadenziumModifier::lastVelocityOrTimingValue)
                pick (pressOrder[numHeld - 1]);
            else if (v < numHeld)
                pick (pressOrder[v]);
            return;

        case CadenziumModifier::fixed:
            out.add ({ v, 1.0f });
            return;

        case CadenziumModifier::random:
            if (numHeld > 0)
                pick (pressOrder[tarn::RandomSource::threadGenerator().nextInt (numHeld)]);
            return;

        case CadenziumModifier::all:
            for (const auto& n : pressOrder)
                pick (n);
            return;

        default:
            return;
    }
}
