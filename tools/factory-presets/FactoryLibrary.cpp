// The factory library: every preset written out as rows, phrases, lanes and settings.

#include "PresetBuilder.h"

#include <source/processor/ParameterIds.h>

namespace FactoryPresets
{
namespace
{
    namespace id = ParameterIds;

    KeySignature key (int root, const char* scaleName)
    {
        return KeySignature (root, *Scales::find (scaleName));
    }

    Feel sixteenths (int velocity = 100, int spread = 0)
    {
        Feel f;
        f.stepTicks = 240;
        f.velocity = velocity;
        f.velocitySpread = spread;
        return f;
    }

    Feel eighths (int velocity = 100, int spread = 0)
    {
        auto f = sixteenths (velocity, spread);
        f.stepTicks = 480;
        return f;
    }

    Feel quarters (int velocity = 100, int spread = 0)
    {
        auto f = sixteenths (velocity, spread);
        f.stepTicks = 960;
        return f;
    }

    /** A swell over the given span: rises with an S-curve, falls back with a quadratic one. */
    std::vector<tarn::ControllerPoint> swell (int from, int to, int peakTick, int endTick)
    {
        return { { 0, from, 0.5f, 0 }, { peakTick, to, 0.35f, tarn::ControllerPoint::sCurve }, { endTick, from, 0.6f, tarn::ControllerPoint::quadratic } };
    }

    //==============================================================================
    std::vector<Preset> arpeggios()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Arpeggios", "Rising Eighths", "A plain upward arpeggio in eighths over the chord you hold, topped by the lowest note an octave up.", "Arpeggio,Classic" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (3), pitchRow (0, 0, 1) };
            p.phrases[0] = pattern ("0 1 2 3 4 3 2 1", eighths (96, 6));
            presets.push_back (p);
        }

        {
            Preset p { "Arpeggios", "Sixteenth Cascade", "Sixteenths up through two octaves and back down; fill adds notes above short chords.", "Arpeggio,Fast" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (3), pitchRow (4), pitchRow (5) };
            p.phrases[0] = pattern ("0! 1 2 3 4 5 4 3 2 1 0 1 2 3 4 5 | 5! 4 3 2 1 0 1 2 3 4 5 4 3 2 1 0", sixteenths (92, 8), 2);
            p.parameters[id::inputFill] = 1.0f;
            presets.push_back (p);
        }

        {
            Preset p { "Arpeggios", "Triplet Waves", "Eighth-note triplets rolling over the chord, the top note sometimes leaping an octave.", "Arpeggio,Triplet" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (16) };
            Feel f = eighths (90, 10);
            f.stepTicks = 320;
            p.phrases[0] = pattern ("0! 1 2 3^ 2 1 0! 1 2 3^ 2 1", f);
            presets.push_back (p);
        }

        {
            Preset p { "Arpeggios", "Waltz Broken Chord", "Three-four: the bass an octave down on the downbeat, the upper notes on two and three.", "Arpeggio,Waltz" };
            p.rows = { pitchRow (0, 0, -1), pitchRow (1), pitchRow (2) };
            Feel f = quarters (88, 6);
            f.numerator = 3;
            p.phrases[0] = pattern ("0! 1+2 1+2 | 0! 2 1", f, 2);
            presets.push_back (p);
        }

        {
            Preset p { "Arpeggios", "Octave Spark", "Bright sixteenths that skip the odd note and throw some into the octave above.", "Arpeggio,Probability" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (16, 0, 1) };
            p.phrases[0] = pattern ("0! 1% 2 3^ 1 2% 3 0^ 2! 3% 1 2^ 3 1% 2 3^", sixteenths (94, 10));
            presets.push_back (p);
        }

        return presets;
    }

    std::vector<Preset> chordRhythms()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Chord Rhythms", "Offbeat Stabs", "The whole chord, short, on every off-beat eighth, with a little swing.", "Chords,Rhythm" };
            p.rows = { allRow() };
            Feel f = eighths (100, 8);
            f.gateTicks = 150;
            p.phrases[0] = pattern (". 0 . 0 . 0 . 0!", f);
            p.parameters[id::swingAmount] = 25.0f;
            p.swingGrid = 2;
            presets.push_back (p);
        }

        {
            Preset p { "Chord Rhythms", "Charleston", "The classic dotted-quarter and eighth push, the second hit accented.", "Chords,Rhythm,Jazz" };
            p.rows = { allRow() };
            Feel f = eighths (96);
            f.gateTicks = 300;
            p.phrases[0] = pattern ("0 . . 0! . . . .", f);
            presets.push_back (p);
        }

        {
            Preset p { "Chord Rhythms", "Pumping Eighths", "Straight eighths of the whole chord with a pumping expression lane.", "Chords,Rhythm,Controllers" };
            p.rows = { allRow() };
            p.phrases[0] = pattern ("0! 0 0 0' 0! 0 0 0'", eighths (100, 4));

            std::vector<tarn::ControllerPoint> pump;

            for (int beat = 0; beat < 4; ++beat)
            {
                pump.push_back ({ beat * 960, 40, 0.5f, 0 });
                pump.push_back ({ beat * 960 + 900, 127, 0.3f, tarn::ControllerPoint::quadratic });
            }

            p.phrases[0].lanes.push_back (controlChangeLane (11, pump));
            presets.push_back (p);
        }

        {
            Preset p { "Chord Rhythms", "Gated Pad", "A sixteenth gate over the held chord, a few steps left out, the filter opening over two bars.", "Chords,Pad,Controllers,Probability" };
            p.rows = { allRow() };
            Feel f = sixteenths (84, 10);
            f.gateTicks = 180;
            p.phrases[0] = pattern ("0! 0 0% 0 0 0% 0 0 0! 0 0% 0 0 0 0% 0 | 0! 0 0% 0 0 0% 0 0 0! 0 0 0% 0 0% 0 0", f, 2);
            p.phrases[0].lanes.push_back (controlChangeLane (74, swell (30, 120, 4800, 7680)));
            presets.push_back (p);
        }

        {
            Preset p { "Chord Rhythms", "Island Skank", "Short chords on two and four with a ghosted push before each.", "Chords,Rhythm,Reggae" };
            p.rows = { allRow() };
            Feel f = sixteenths (100);
            f.gateTicks = 120;
            p.phrases[0] = pattern (". . . . 0! . . 0' . . . . 0! . . 0'", f);
            presets.push_back (p);
        }

        return presets;
    }

    std::vector<Preset> basslines()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Basslines", "Root Pulse", "Steady eighths on the lowest note an octave down: the simplest engine under a track.", "Bass,Simple" };
            p.rows = { pitchRow (0, 0, -1) };
            p.phrases[0] = pattern ("0! 0 0 0 0! 0 0 0", eighths (100, 6));
            presets.push_back (p);
        }

        {
            Preset p { "Basslines", "Octave Bass", "The root jumping between two octaves in eighths, disco style.", "Bass,Dance" };
            p.rows = { pitchRow (0, 0, -2), pitchRow (0, 0, -1) };
            p.phrases[0] = pattern ("0! 1 0 1 0! 1 0 1", eighths (104, 6));
            presets.push_back (p);
        }

        {
            Preset p { "Basslines", "Root Fifth Walk", "Quarter notes walking root, fifth, third and fifth of the chord, an octave down.", "Bass,Walking" };
            p.rows = { pitchRow (0, 0, -1), pitchRow (1, 0, -1), pitchRow (2, 0, -1) };
            p.phrases[0] = pattern ("0! 2 1 2 | 0! 2 1 0", quarters (98, 8), 2);
            presets.push_back (p);
        }

        {
            Preset p { "Basslines", "Syncopated Funk", "Sixteenth syncopation with ghost notes that only sometimes speak, and a bend into the last hit.", "Bass,Funk,Probability,Controllers" };
            p.rows = { pitchRow (0, 0, -1), pitchRow (0), pitchRow (2, 0, -1) };
            p.phrases[0] = pattern ("0! . 0'? 0 . 2 . 0' 1! . 0'? . 2 0' . 0!", sixteenths (104));
            p.phrases[0].lanes.push_back (pitchBendLane ({ { 0, 0, 0.5f, 0 }, { 3360, 0, 0.5f, 0 }, { 3480, -1200, 0.5f, 0 }, { 3600, 0, 0.7f, tarn::ControllerPoint::quadratic } }));
            presets.push_back (p);
        }

        {
            Preset p { "Basslines", "Acid Line", "A squelchy sixteenth line in A minor pentatonic: notes wander, the filter lane sweeps.", "Bass,Acid,Controllers,Key Lock" };
            p.rows = { pitchRow (0, 0, -1), pitchRow (0), pitchRow (1, 0, -1), pitchRow (0, 3, -1) };
            p.phrases[0] = pattern ("0! 0 1 0~ 2 0 3! 0 0! 2~ 0 1 3 0 2! 1~", sixteenths (100, 12));
            p.phrases[0].lanes.push_back (controlChangeLane (74, { { 0, 20, 0.5f, 0 }, { 1920, 110, 0.8f, tarn::ControllerPoint::quadratic }, { 3840, 35, 0.4f, tarn::ControllerPoint::sCurve } }));
            p.key = key (9, "Pentatonic Minor");
            p.parameters[id::lockToKey] = 1.0f;
            presets.push_back (p);
        }

        return presets;
    }

    std::vector<Preset> melodicFigures()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Melodic Figures", "Pentatonic Run", "A run climbing over the chord, every note kept in C major pentatonic by the key lock.", "Melody,Key Lock" };
            p.rows = { pitchRow (0), pitchRow (0, 2), pitchRow (1), pitchRow (1, 3), pitchRow (2), pitchRow (0, 0, 1) };
            p.phrases[0] = pattern ("0! 1 2 3 4 5 4 3 2! 3 4 5 4 3 2 1", sixteenths (92, 8));
            p.key = key (0, "Pentatonic Major");
            p.parameters[id::lockToKey] = 1.0f;
            presets.push_back (p);
        }

        {
            Preset p { "Melodic Figures", "Call And Response", "Two bars: a question in the upper notes, an answer down low.", "Melody,Phrase" };
            p.rows = { pitchRow (16, 0, 1), pitchRow (2, 0, 1), pitchRow (1), pitchRow (0), pitchRow (0, 0, -1) };
            p.phrases[0] = pattern ("0! . 1 0 2 . . . | 3! . 4 3 2 . . .", eighths (96, 6), 2);
            presets.push_back (p);
        }

        {
            Preset p { "Melodic Figures", "Latest Note Echo", "The note you played last, struck three times and echoed an octave up.", "Melody,Echo" };
            p.rows = { timingRow (8), timingRow (8, 0, 1) };
            p.phrases[0] = pattern ("0!*3 _ . 1' 0*3 _ . 1'", eighths (98, 4));
            presets.push_back (p);
        }

        {
            Preset p { "Melodic Figures", "Dorian Motif", "A small motif in D dorian that bends its last note; the velocity lanes follow your playing.", "Melody,Key Lock,Controllers" };
            p.rows = { velocityRow (8), pitchRow (1, 2), pitchRow (0, 5), pitchRow (2) };
            p.phrases[0] = pattern ("0! 1 2 . 3 2 1 0 | 2! . 1 0 3 _ _ .", eighths (94, 8), 2);
            p.phrases[0].lanes.push_back (pitchBendLane ({ { 0, 0, 0.5f, 0 }, { 6720, 0, 0.5f, 0 }, { 7200, 1800, 0.3f, tarn::ControllerPoint::sCurve } }));
            p.key = key (2, "Dorian");
            p.parameters[id::lockToKey] = 1.0f;
            p.parameters[id::velocityPassthrough] = 1.0f;
            presets.push_back (p);
        }

        {
            Preset p { "Melodic Figures", "Top Voice Melody", "A singing line on the highest note an octave up, over the chord's lower notes held long.", "Melody,Chords" };
            p.rows = { pitchRow (16, 0, 1), pitchRow (0), pitchRow (1) };
            p.phrases[0] = pattern ("0+1+2 _ 0 0 0! _ 0 . | 0+1+2 _ 0 0! 0 _ _ .", eighths (90, 6), 2);
            presets.push_back (p);
        }

        return presets;
    }

    std::vector<Preset> evolving()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Evolving Patterns", "Generative Sparkle", "Random notes of the chord, sparse and never the same twice, up to two octaves high.", "Generative,Probability" };
            p.rows = { randomRow (1), randomRow (2) };
            p.phrases[0] = pattern ("0? 1? 0% . 1? 0? . 0% 1? 0? 0 . 1% 0? . 1?", sixteenths (70, 30));
            presets.push_back (p);
        }

        {
            Preset p { "Evolving Patterns", "Polymeter Loops", "Three rows looping in 3, 5 and 7 sixteenths against the bar: it takes a while to come round.", "Generative,Polymeter,Loops" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2, 0, 1) };
            tarn::Sequence s;
            s.setLength (4 * 3840);

            for (const auto& [row, period] : { std::pair { 0, 3 }, std::pair { 1, 5 }, std::pair { 2, 7 } })
            {
                tarn::SequenceNote note;
                note.number = row;
                note.length = 200;
                note.velocityMin = 80;
                note.velocityMax = 110;
                s.notes.push_back (note);
                s.loops[(size_t) row] = { 0, period * 240 };
            }

            s.normalise();
            p.phrases[0] = s;
            presets.push_back (p);
        }

        {
            Preset p { "Evolving Patterns", "Drifting Chance", "Two bars in which every step has its own chance and the velocities drift.", "Generative,Probability" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (0, 0, 1) };
            p.phrases[0] = pattern ("0 1% 2? 3% 1 2? 3 0% 2? 1 3% 0? 2 1% 3? 0 | 3 2% 1? 0% 2 1? 0 3% 1? 2 0% 3? 1 2% 0? 3", sixteenths (80, 25), 2);
            p.parameters[id::swingAmount] = 35.0f;
            p.swingGrid = 1;
            presets.push_back (p);
        }

        {
            Preset p { "Evolving Patterns", "Raindrops", "Sparse random drops with quick repeats, high in the register.", "Generative,Probability,Ambient" };
            p.rows = { randomRow (1), randomRow (2) };
            Feel f = eighths (60, 25);
            p.phrases[0] = pattern ("0? . 1?*3 . . 0% . 1? | . 0?*2 . 1% 0? . . 1?*4", f, 2);
            presets.push_back (p);
        }

        return presets;
    }

    std::vector<Preset> tools()
    {
        std::vector<Preset> presets;

        {
            Preset p { "Tools", "Chord Hold", "Plays the held chord for a whole bar, again and again: a clean way to re-strike pads.", "Tools,Chords" };
            p.rows = { allRow() };
            Feel f = quarters (100);
            f.gateTicks = 3800;
            p.phrases[0] = pattern ("0 . . .", f);
            presets.push_back (p);
        }

        {
            Preset p { "Tools", "Strum", "Strums the chord upward on the downbeat and downward on beat three.", "Tools,Chords,Guitar" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (3), pitchRow (4), pitchRow (16) };
            tarn::Sequence s;

            for (int string = 0; string < 6; ++string)
            {
                tarn::SequenceNote up;
                up.number = string;
                up.timestamp = string * 30;
                up.length = 1800 - string * 30;
                up.velocityMin = 92 - string * 3;
                up.velocityMax = up.velocityMin + 8;
                s.notes.push_back (up);

                tarn::SequenceNote down = up;
                down.number = 5 - string;
                down.timestamp = 1920 + string * 30;
                s.notes.push_back (down);
            }

            s.normalise();
            p.phrases[0] = s;
            presets.push_back (p);
        }

        {
            Preset p { "Tools", "Keyswitch Performance", "Four phrases for a performance, chosen with the keys C0 to D#0 or the phrase buttons: sparse intro, verse, busy chorus and a fill. Turn on Hold in the Keyswitches panel to play a phrase only while its key is held.", "Tools,Performance,Keyswitch" };
            p.rows = { pitchRow (0, 0, -1), pitchRow (0), pitchRow (1), pitchRow (2), allRow() };
            p.phrases[0] = pattern ("4! . . . . . . . 4 . . . . . . .", sixteenths (80, 6));
            p.phrases[1] = pattern ("0! . 1 2 . 3 . 2 0 . 1 . 3 2 1 .", sixteenths (92, 8));
            p.phrases[2] = pattern ("0! 4 1 4 0 4 2! 4 0 4 3 4 0! 4 2 1", sixteenths (104, 8));
            p.phrases[3] = pattern ("3! 2 1 0 3! 2 1 0 3 2 1 0 3! 2! 1! 0!", sixteenths (108, 6));
            // Hold stays off: with it, a phrase plays only while its key is down, so a first
            // try with the phrase buttons would play nothing.
            p.parameters[id::keyswitchEnable] = 1.0f;
            p.parameters[id::keyswitchRange] = 2.0f;
            presets.push_back (p);
        }

        {
            Preset p { "Tools", "One Shot Hit", "Plays its phrase once each time you play a new chord, then waits: a riff on demand.", "Tools,One Shot" };
            p.rows = { pitchRow (0), pitchRow (1), pitchRow (2), pitchRow (0, 0, 1) };
            p.phrases[0] = pattern ("0! 1 2 3 2 1 0 .", sixteenths (100, 6), 1);
            p.phrases[0].loopCount = 1;
            p.parameters[id::inputRetrigger] = 4.0f; // All Notes Off: a fresh chord starts it again
            presets.push_back (p);
        }

        {
            Preset p { "Tools", "Mod Wheel Swell", "Holds the chord and swells the mod wheel up and back over two bars.", "Tools,Controllers,Pad" };
            p.rows = { allRow() };
            Feel f = quarters (90);
            f.gateTicks = 7600;
            p.phrases[0] = pattern ("0 . . . . . . .", f, 2);
            p.phrases[0].lanes.push_back (controlChangeLane (1, swell (0, 127, 3840, 7680), "Swell"));
            presets.push_back (p);
        }

        return presets;
    }
} // namespace

const std::vector<Folder>& folders()
{
    static const std::vector<Folder> all {
        { "Arpeggios", "Broken chords in every shape: up, down, triplets and octave leaps, all following the chord you hold." },
        { "Chord Rhythms", "The whole chord played as a rhythm: stabs, pushes, gates and pumps." },
        { "Basslines", "Lines built from the lowest notes you hold, in the octaves a bass lives in." },
        { "Melodic Figures", "Short melodies and motifs drawn from your chord, several kept in key by the key lock." },
        { "Evolving Patterns", "Patterns that never play the same way twice: chance, random notes and loops of different lengths." },
        { "Tools", "Practical patterns: holding and strumming chords, one-shot riffs, controller swells and a keyswitched performance set." },
    };

    return all;
}

std::vector<Preset> library()
{
    std::vector<Preset> all;

    for (auto&& group : { arpeggios(), chordRhythms(), basslines(), melodicFigures(), evolving(), tools() })
        all.insert (all.end(), group.begin(), group.end());

    return all;
}

} // namespace FactoryPresets
