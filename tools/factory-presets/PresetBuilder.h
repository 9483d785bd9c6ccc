#pragma once

#include <source/processor/CadenziumModifier.h>
#include <source/processor/KeySignature.h>
#include <tarn/sequence/Sequence.h>

#include <map>
#include <vector>

/** What a factory preset is made of, written as code so the library can be reviewed and
    rebuilt. */
namespace FactoryPresets
{
//==============================================================================
// Rows

CadenziumModifier pitchRow (int value, int transpose = 0, int octave = 0);
CadenziumModifier velocityRow (int value, int transpose = 0, int octave = 0);
CadenziumModifier timingRow (int value, int transpose = 0, int octave = 0);
CadenziumModifier fixedRow (int note);
CadenziumModifier randomRow (int octave = 0);
CadenziumModifier allRow (int octave = 0);

//==============================================================================
// Phrases

/** How the steps of a pattern sound. */
struct Feel
{
    int stepTicks = 240; // one step
    int gateTicks = -1; // how long a struck step sounds; -1: the step less a little
    int velocity = 100;
    int velocitySpread = 0; // velocity drawn from velocity - spread .. velocity + spread
    int numerator = 4, denominator = 4;
};

/** A phrase from a step pattern. Tokens are separated by blanks ("|" may mark bars):
        "." rests; "_" holds the notes of the step before for one more step; otherwise rows
        joined by "+", each step's notes changed by any of these marks:
            !  accent (velocity + 22)      '  ghost (velocity 45)
            ?  sounds half the time        %  sounds three times in four
            ^  may jump an octave up       v  may drop an octave
            ~  may move up to two semitones up
            *N strikes N times inside its length
        The phrase is as many bars long as the pattern needs (at least `bars`). */
tarn::Sequence pattern (const char* steps, const Feel& feel = {}, int bars = 1);

/** A controller lane with its points (tick, value, curve, shape). */
tarn::ControllerLane controlChangeLane (int number, std::vector<tarn::ControllerPoint> points, juce::String name = {});
tarn::ControllerLane pitchBendLane (std::vector<tarn::ControllerPoint> points, juce::String name = {});

//==============================================================================
struct Preset
{
    Preset (const char* folderName, const char* presetName, const char* descriptionText, const char* categoryList)
        : folder (folderName)
        , name (presetName)
        , description (descriptionText)
        , categories (categoryList)
    {
    }

    const char* folder;
    const char* name;
    const char* description;
    const char* categories;
    RowList rows;
    std::map<int, tarn::Sequence> phrases; // by slot
    std::map<juce::String, float> parameters;
    std::optional<KeySignature> key;
    int swingGrid = 0;
    int playingPhrase = 0;
};

struct Folder
{
    const char* name;
    const char* description;
};

const std::vector<Folder>& folders();
std::vector<Preset> library();

inline constexpr const char* author = "Cadenzium Team";
} // namespace FactoryPresets
