#include "PresetBuilder.h"

#include <stdexcept>

namespace FactoryPresets
{
namespace
{
    CadenziumModifier row (int type, int value, int transpose, int octave, int colour)
    {
        CadenziumModifier r;
        r.type = type;
        r.value = value;
        r.transpose = transpose;
        r.octave = octave;
        r.colour = colour;
        r.sanitise();
        return r;
    }

    struct StepNote
    {
        int row = 0;
        int velocity = 100;
        int chance = 100;
        int octaveMin = 0, octaveMax = 0;
        int transposeMax = 0;
        int strikes = 0;
    };

    std::vector<StepNote> parseStep (const juce::String& token, const Feel& feel)
    {
        std::vector<StepNote> notes;

        for (auto part : juce::StringArray::fromTokens (token, "+", {}))
        {
            StepNote note;
            note.velocity = feel.velocity;
            const auto digits = part.initialSectionContainingOnly ("0123456789");

            if (digits.isEmpty())
                throw std::runtime_error ("bad step " + token.toStdString());

            note.row = digits.getIntValue();

            for (int i = digits.length(); i < part.length(); ++i)
            {
                switch (part[i])
                {
                    case '!':
                        note.velocity = juce::jmin (127, feel.velocity + 22);
                        break;
                    case '\'':
                        note.velocity = 45;
                        break;
                    case '?':
                        note.chance = 50;
                        break;
                    case '%':
                        note.chance = 75;
                        break;
                    case '^':
                        note.octaveMax = 1;
                        break;
                    case 'v':
                        note.octaveMin = -1;
                        break;
                    case '~':
                        note.transposeMax = 2;
                        break;
                    case '*':
                        note.strikes = part.substring (i + 1).getIntValue();
                        i = part.length();
                        break;
                    default:
                        throw std::runtime_error ("bad mark in " + token.toStdString());
                }
            }

            notes.push_back (note);
        }

        return notes;
    }
} // namespace

CadenziumModifier pitchRow (int value, int transpose, int octave) { return row (CadenziumModifier::pitch, value, transpose, octave, 0); }
CadenziumModifier velocityRow (int value, int transpose, int octave) { return row (CadenziumModifier::velocity, value, transpose, octave, 1); }
CadenziumModifier timingRow (int value, int transpose, int octave) { return row (CadenziumModifier::timing, value, transpose, octave, 2); }
CadenziumModifier fixedRow (int note) { return row (CadenziumModifier::fixed, note, 0, 0, 3); }
CadenziumModifier randomRow (int octave) { return row (CadenziumModifier::random, 0, 0, octave, 3); }
CadenziumModifier allRow (int octave) { return row (CadenziumModifier::all, 0, 0, octave, 4); }

tarn::Sequence pattern (const char* steps, const Feel& feel, int bars)
{
    tarn::Sequence s;
    s.timeSignatureNumerator = feel.numerator;
    s.timeSignatureDenominator = feel.denominator;

    const auto gate = feel.gateTicks > 0 ? feel.gateTicks : feel.stepTicks - feel.stepTicks / 8;
    auto tokens = juce::StringArray::fromTokens (steps, " \n\t", {});
    tokens.removeString ("|");

    std::vector<size_t> lastStruck;
    int time = 0;

    for (const auto& token : tokens)
    {
        if (token == ".")
        {
            lastStruck.clear();
        }
        else if (token == "_")
        {
            for (auto index : lastStruck)
                s.notes[index].length += feel.stepTicks;
        }
        else
        {
            lastStruck.clear();

            for (const auto& step : parseStep (token, feel))
            {
                tarn::SequenceNote note;
                note.number = step.row;
                note.timestamp = time;
                note.length = gate;
                note.velocityMin = juce::jlimit (1, 127, step.velocity - feel.velocitySpread);
                note.velocityMax = juce::jlimit (1, 127, step.velocity + feel.velocitySpread);
                note.chance = step.chance;
                note.octaveMin = step.octaveMin;
                note.octaveMax = step.octaveMax;
                note.transposeMax = step.transposeMax;

                if (step.strikes >= 2)
                {
                    note.repeatStyle = tarn::SequenceNote::repeatCountTimes;
                    note.repeatCount = step.strikes;
                }

                lastStruck.push_back (s.notes.size());
                s.notes.push_back (note);
            }
        }

        time += feel.stepTicks;
    }

    const auto bar = s.getBarLength();
    const auto neededBars = juce::jmax (bars, (time + bar - 1) / bar);
    s.setLength (neededBars * bar);

    for (auto& note : s.notes)
        note.length = juce::jmin (note.length, s.getLength() - note.timestamp);

    s.normalise();
    return s;
}

tarn::ControllerLane controlChangeLane (int number, std::vector<tarn::ControllerPoint> points, juce::String name)
{
    tarn::ControllerLane lane;
    lane.type = tarn::ControllerLane::controlChange;
    lane.number = number;
    lane.points = std::move (points);
    lane.name = std::move (name);
    return lane;
}

tarn::ControllerLane pitchBendLane (std::vector<tarn::ControllerPoint> points, juce::String name)
{
    tarn::ControllerLane lane;
    lane.type = tarn::ControllerLane::pitchBend;
    lane.points = std::move (points);
    lane.name = std::move (name);
    return lane;
}

} // namespace FactoryPresets
