#include "V1PresetParser.h"

#include <tarn/util/SafeXml.h>
#include <tarn/util/TextFiles.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

namespace V1PresetParser
{
namespace
{
    constexpr double ticksPerQuarter = tarn::Ticks::perQuarter;

    // v1 times count in 1/96 of a step, i.e. units of 10 x q ticks.
    constexpr double ticksPerUnitPerQuarter = 10.0;

    constexpr int maxTick = std::numeric_limits<int>::max();

    bool isAsciiBlank (char c) noexcept
    {
        return c == ' ' || (c >= '\t' && c <= '\r');
    }

    bool isDigit (char c) noexcept
    {
        return c >= '0' && c <= '9';
    }

    std::string_view trimmed (std::string_view text) noexcept
    {
        while (! text.empty() && isAsciiBlank (text.front()))
            text.remove_prefix (1);

        while (! text.empty() && isAsciiBlank (text.back()))
            text.remove_suffix (1);

        return text;
    }

    /** Decimal floating point only: no hexadecimal, no "inf" or "nan", nothing around it. */
    bool isDecimalNumber (std::string_view text) noexcept
    {
        size_t i = 0;
        const auto n = text.size();
        auto skipDigits = [&]
        {
            const auto start = i;

            while (i < n && isDigit (text[i]))
                ++i;

            return i - start;
        };

        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;

        auto mantissaDigits = skipDigits();

        if (i < n && text[i] == '.')
        {
            ++i;
            mantissaDigits += skipDigits();
        }

        if (mantissaDigits == 0)
            return false;

        if (i < n && (text[i] == 'e' || text[i] == 'E'))
        {
            ++i;

            if (i < n && (text[i] == '+' || text[i] == '-'))
                ++i;

            if (skipDigits() == 0)
                return false;
        }

        return i == n;
    }

    std::optional<int> wholeNumber (std::string_view text) noexcept
    {
        text = trimmed (text);

        if (! isDecimalNumber (text))
            return std::nullopt;

        if (text.front() == '+')
            text.remove_prefix (1);

        // from_chars ignores the locale a host may have set.
        double value = 0.0;
        const auto [end, error] = std::from_chars (text.data(), text.data() + text.size(), value);

        if (error != std::errc() || end != text.data() + text.size() || ! std::isfinite (value))
            return std::nullopt;

        if (value != std::trunc (value) || value < (double) std::numeric_limits<int>::min() || value > (double) maxTick)
            return std::nullopt;

        return (int) value;
    }

    std::optional<int> wholeNumberIn (std::string_view text, int low, int high) noexcept
    {
        const auto value = wholeNumber (text);

        if (! value.has_value() || *value < low || *value > high)
            return std::nullopt;

        return value;
    }

    /** Pieces between separators; empty pieces are kept when keepEmpty, else dropped. */
    template <typename Callback>
    bool forEachPiece (std::string_view text, std::string_view separators, bool keepEmpty, Callback&& callback)
    {
        size_t start = 0;

        for (;;)
        {
            const auto end = text.find_first_of (separators, start);
            const auto piece = text.substr (start, end == std::string_view::npos ? std::string_view::npos : end - start);

            if ((keepEmpty || ! piece.empty()) && ! callback (piece))
                return false;

            if (end == std::string_view::npos)
                return true;

            start = end + 1;
        }
    }

    std::vector<std::string_view> fieldsOf (std::string_view token)
    {
        std::vector<std::string_view> fields;
        forEachPiece (token, "|", true, [&fields] (std::string_view field)
                      {
                          fields.push_back (field);
                          return true; });
        return fields;
    }

    constexpr std::string_view tokenSeparators = " \n\r\t";

    double roundHalfToEven (double value) noexcept
    {
        if (std::abs (value - std::trunc (value)) == 0.5)
            return 2.0 * std::round (value / 2.0);

        return std::round (value);
    }

    /** units x 10 x q ticks, rounded, or nothing when outside 0..2147483647. */
    std::optional<int> unitsToTicks (double units, double q) noexcept
    {
        const auto ticks = roundHalfToEven (units * ticksPerUnitPerQuarter * q);

        if (! std::isfinite (ticks) || ticks < 0.0 || ticks > (double) maxTick)
            return std::nullopt;

        return (int) ticks;
    }

    struct Reader
    {
        double q = 0.0;
        std::array<int, V1Preset::numControllers> controllers {};

        bool readNotes (std::string_view text, tarn::Sequence& phrase) const
        {
            return forEachPiece (text, tokenSeparators, false, [&] (std::string_view token)
                                 { return readNote (token, phrase); });
        }

        bool readNote (std::string_view token, tarn::Sequence& phrase) const
        {
            const auto fields = fieldsOf (token);

            if (fields.size() == 1)
                return true;

            if (fields.size() < 7)
                return false;

            const auto row = wholeNumberIn (fields[0], 0, V1Preset::numRows);

            if (! row.has_value())
                return false;

            if (*row == 0)
                return true; // an empty cell

            const auto first = wholeNumberIn (fields[1], 0, maxTick);
            const auto velocity = wholeNumberIn (fields[2], 0, 127);
            const auto last = wholeNumberIn (fields[3], 0, maxTick);
            const auto transpose = wholeNumberIn (fields[4], -24, 24);
            const auto octave = wholeNumberIn (fields[5], -4, 4);
            const auto chance = wholeNumberIn (fields[6], 0, 100);

            if (! (first && velocity && last && transpose && octave && chance))
                return false;

            // A note that ends before it starts would hang at playback.
            if (*last < *first)
                return false;

            const auto start = unitsToTicks (*first, q);
            const auto end = unitsToTicks ((double) *last + 1.0, q);

            if (! start.has_value() || ! end.has_value())
                return false;

            tarn::SequenceNote note;
            note.number = V1Preset::numRows - *row;
            note.timestamp = *start;
            // At the shortest step two neighbouring units can round to one tick; a note
            // of one unit must still sound.
            note.length = std::max (1, *end - *start);
            note.velocityMin = note.velocityMax = *velocity;
            note.transposeMin = note.transposeMax = *transpose;
            note.octaveMin = note.octaveMax = *octave;
            note.chance = *chance;
            phrase.notes.push_back (note);
            return true;
        }

        bool readPoints (std::string_view text, tarn::ControllerLane& lane) const
        {
            const bool isPitchWheel = lane.type == tarn::ControllerLane::pitchBend;

            const bool ok = forEachPiece (text, tokenSeparators, false, [&] (std::string_view token)
                                          {
                                              const auto fields = fieldsOf (token);

                                              if (fields.size() < 2)
                                                  return false;

                                              const auto time = wholeNumberIn (fields[0], 0, maxTick);
                                              const auto value = isPitchWheel ? wholeNumberIn (fields[1], 0, 16383)
                                                                              : wholeNumberIn (fields[1], 0, 127);

                                              if (! time.has_value() || ! value.has_value())
                                                  return false;

                                              const auto tick = unitsToTicks (*time, q);

                                              if (! tick.has_value())
                                                  return false;

                                              tarn::ControllerPoint point;
                                              point.timestamp = *tick;
                                              point.value = isPitchWheel ? *value - 8192 : *value;
                                              point.curve = 0.5f;
                                              lane.points.push_back (point);
                                              return true; });

            std::stable_sort (lane.points.begin(), lane.points.end(), [] (const auto& a, const auto& b)
                              { return a.timestamp < b.timestamp; });
            return ok;
        }

        tarn::Sequence makeEmptyPhrase (int length) const
        {
            tarn::Sequence phrase;
            phrase.setLength (length);
            phrase.playbackStart = 0;

            for (const auto number : controllers)
            {
                tarn::ControllerLane lane;
                lane.type = number == V1Preset::pitchWheel ? tarn::ControllerLane::pitchBend
                                                           : tarn::ControllerLane::controlChange;
                lane.number = number;
                lane.channel = 1;
                phrase.lanes.push_back (std::move (lane));
            }

            phrase.normalise();
            return phrase;
        }

        bool readPhrase (const juce::XmlElement& element, tarn::Sequence& phrase) const
        {
            for (int i = 0; i < V1Preset::numControllers; ++i)
                if (! element.hasAttribute ("cc" + juce::String (i)))
                    return false;

            phrase.notes.clear();

            if (! readNotes (element.getStringAttribute ("sequence").toStdString(), phrase))
                return false;

            for (int i = 0; i < V1Preset::numControllers; ++i)
            {
                auto& lane = phrase.lanes[(size_t) i];
                lane.points.clear();

                if (! readPoints (element.getStringAttribute ("cc" + juce::String (i)).toStdString(), lane))
                    return false;
            }

            phrase.playbackStart = phrase.getEffectivePlaybackStart();
            phrase.normalise();
            return true;
        }
    };

    bool isTrueText (const juce::String& text)
    {
        const auto first = text.trimStart()[0];
        return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
    }
} // namespace

double quarterNotesPerStep (int speedCode) noexcept
{
    static constexpr double stepsInQuarters[] = { 16.0, 8.0, 4.0, 2.0, 1.0, 0.5, 0.25, 0.125 };
    const auto code = juce::jlimit (0, 15, speedCode);
    const auto q = 0.5 * stepsInQuarters[code % 8];
    return code >= 8 ? q * (double) (4.0f / 3.0f) : q;
}

std::optional<int> parseWholeNumber (const juce::String& text)
{
    return wholeNumber (text.toStdString());
}

RowList makeRows()
{
    struct RowKind
    {
        int type, value, colour;
    };

    static constexpr RowKind kinds[V1Preset::numRows] = {
        { CadenziumModifier::pitch, 0, 0 },
        { CadenziumModifier::pitch, 1, 0 },
        { CadenziumModifier::pitch, 2, 0 },
        { CadenziumModifier::pitch, 3, 0 },
        { CadenziumModifier::pitch, 4, 0 },
        { CadenziumModifier::pitch, 5, 0 },
        { CadenziumModifier::pitch, 6, 0 },
        { CadenziumModifier::pitch, 7, 0 },
        { CadenziumModifier::random, 0, 3 },
        { CadenziumModifier::fixed, 0, 3 },
        { CadenziumModifier::velocity, 0, 1 },
        { CadenziumModifier::velocity, 8, 1 },
        { CadenziumModifier::timing, 0, 2 },
        { CadenziumModifier::timing, 8, 2 },
        { CadenziumModifier::pitch, 0, 0 },
        { CadenziumModifier::pitch, 16, 0 },
        { CadenziumModifier::all, 0, 0 },
    };

    RowList rows;

    for (const auto& kind : kinds)
    {
        CadenziumModifier row;
        row.type = kind.type;
        row.value = kind.value;
        row.colour = kind.colour;
        rows.push_back (row);
    }

    return rows;
}

V1Preset parseFile (const juce::File& file)
{
    constexpr juce::int64 maxFileBytes = 16 * 1024 * 1024;
    const auto text = tarn::TextFiles::load (file, maxFileBytes);
    return text.has_value() ? parse (*text) : V1Preset {};
}

V1Preset parse (const juce::String& text)
{
    const auto root = tarn::SafeXml::parse (text);

    if (root == nullptr || root->getTagName() != "cadenzium")
        return {};

    std::optional<int> speed, steps;
    bool fill = true;
    std::vector<int> controllers;
    std::vector<std::pair<int, const juce::XmlElement*>> phraseElements;

    for (const auto* child : root->getChildIterator())
    {
        const auto tag = child->getTagName();

        if (tag == "PARAM")
        {
            const auto id = child->getStringAttribute ("id");

            if (id != "speed" && id != "steps" && id != "fill")
                continue;

            if (! child->hasAttribute ("value"))
                return {};

            const auto value = child->getStringAttribute ("value");

            if (id == "fill")
            {
                fill = isTrueText (value);
                continue;
            }

            const auto number = id == "speed" ? wholeNumberIn (value.toStdString(), 0, 15)
                                              : wholeNumberIn (value.toStdString(), 0, maxTick);

            if (! number.has_value())
                return {};

            (id == "speed" ? speed : steps) = number;
        }
        else if (tag == "CONTROLLER")
        {
            const auto numbers = child->getStringAttribute ("numbers").toStdString();
            const bool ok = forEachPiece (numbers, ",", true, [&controllers] (std::string_view piece)
                                          {
                                              const auto number = wholeNumberIn (piece, V1Preset::pitchWheel, 127);

                                              if (! number.has_value() || controllers.size() == V1Preset::numControllers)
                                                  return false;

                                              controllers.push_back (*number);
                                              return true; });

            if (! ok)
                return {};
        }
        else if (tag.startsWith ("SEQUENCE:"))
        {
            const auto row = wholeNumberIn (tag.substring (9).toStdString(), 0, V1Preset::numPhrases - 1);

            if (! row.has_value())
                return {};

            phraseElements.emplace_back (*row, child);
        }
    }

    if (! speed.has_value() || ! steps.has_value() || controllers.size() != V1Preset::numControllers)
        return {};

    Reader reader;
    reader.q = quarterNotesPerStep (*speed);
    std::copy (controllers.begin(), controllers.end(), reader.controllers.begin());

    // Every walk over a phrase is bounded by the longest phrase the model accepts; an
    // empty phrase could not loop at all.
    const auto length = roundHalfToEven ((double) *steps * ticksPerQuarter * reader.q);

    if (length < 1.0 || length > (double) tarn::Sequence::maxLength)
        return {};

    V1Preset preset;
    preset.phrases.assign (V1Preset::numPhrases, reader.makeEmptyPhrase ((int) length));

    for (const auto& [row, element] : phraseElements)
        if (! reader.readPhrase (*element, preset.phrases[(size_t) row]))
            return {};

    preset.valid = true;
    preset.quarterNotesPerStep = reader.q;
    preset.steps = *steps;
    preset.fill = fill;
    preset.controllerNumbers = reader.controllers;
    preset.rows = makeRows();
    return preset;
}

} // namespace V1PresetParser
