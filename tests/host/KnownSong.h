#pragma once

#include <tests/source/processor/PluginHarness.h>
#include <tests/source/processor/state/StateTestSupport.h>

#include <gtest/gtest.h>

namespace cadenzium::test
{

/** The song every host-level scenario plays: a Fixed row on 50 on the beat and the highest
    held note an octave up on the off-beat, each a sixteenth long, in a one-beat loop. With
    C-E-G held the plug-in can only play 50 and 79, neither of which is played into it. Fill
    is off, so every note starts on its place whenever the chord arrives. The generation
    density is stored but changes nothing that plays: it shows a parameter travelling. */
struct KnownSong
{
    RowList rows { makeRow (CadenziumModifier::fixed, 50), makeRow (CadenziumModifier::pitch, CadenziumModifier::highestPitchValue, 1, 0, 1) };
    tarn::Sequence phrase = makePhrase ({ { 0, 0, 240 }, { 1, 480, 240 } }, 960);
    float density = 42.0f;

    void applyTo (Cadenzium2AudioProcessor& processor) const
    {
        processor.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, density);
        processor.setRawParameterValueNotifyingHost (ParameterIds::inputFill, 0.0f);
        processor.getPhraseManager().setRows (rows);
        processor.getPhraseManager().setSequence (0, phrase, nullptr);
    }

    /** The host container of the song. */
    juce::MemoryBlock state() const
    {
        Cadenzium2AudioProcessor processor;
        applyTo (processor);
        return stateOf (processor);
    }

    void expectIn (const juce::MemoryBlock& state, const juce::String& context = {}) const
    {
        Cadenzium2AudioProcessor restored;
        restore (restored, state);
        EXPECT_FLOAT_EQ (restored.getRawParameterValue (ParameterIds::genNoteDensity), density) << context;
        EXPECT_FLOAT_EQ (restored.getRawParameterValue (ParameterIds::inputFill), 0.0f);
        EXPECT_EQ (restored.getPhraseManager().getRows(), rows);
        EXPECT_EQ (restored.getPhrase (0).notes, phrase.notes);
        EXPECT_EQ (restored.getPhrase (0).getLength(), 960);
    }
};

} // namespace cadenzium::test
