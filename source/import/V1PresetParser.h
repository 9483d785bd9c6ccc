#pragma once

#include <source/processor/CadenziumModifier.h>
#include <tarn/sequence/Sequence.h>

#include <array>
#include <optional>
#include <vector>

/** A preset of the product's first version, converted to the current model: twelve
    phrases (each with the eight controller lanes), the 17 rows its pitch rows map to,
    and the settings it carries. */
struct V1Preset
{
    static constexpr int numPhrases = 12;
    static constexpr int numControllers = 8;
    static constexpr int numRows = 17;

    /** Controller number of the pitch-wheel lane; 0..127 are continuous controllers. */
    static constexpr int pitchWheel = -1;

    bool valid = false;
    double quarterNotesPerStep = 0.0;
    int steps = 0;
    bool fill = true; // becomes "input_fill"
    std::array<int, numControllers> controllerNumbers {};
    std::vector<tarn::Sequence> phrases; // numPhrases when valid
    RowList rows; // numRows when valid
};

/** Reads first-version preset files. Pure and GUI-free; every problem rejects the file
    as a whole, so a caller either gets a complete preset or nothing. */
namespace V1PresetParser
{
/** The preset in `text`, or one whose `valid` is false (and everything else empty). [any thread] */
V1Preset parse (const juce::String& text);

/** Reads the file as text and parses it; a file that is not a plain file or is larger
    than any real preset (16 MB) is not valid. [any thread but the audio thread] */
V1Preset parseFile (const juce::File& file);

/** Quarter notes per step for a "speed" code 0..15: 0.5 x {16, 8, 4, 2, 1, 0.5, 0.25,
    0.125}[code mod 8], times single-precision 4/3 for codes 8..15. */
double quarterNotesPerStep (int speedCode) noexcept;

/** The whole number in `text` (trimmed decimal floating point that must use the whole
    text, be finite, whole and fit in 32 bits: "1.0" and "1e2" yes, "1.5", "" and "0x10" no). */
std::optional<int> parseWholeNumber (const juce::String& text);

/** The 17-row table a first-version preset plays through: v1 pitch row r plays row 17 - r. */
RowList makeRows();
} // namespace V1PresetParser
