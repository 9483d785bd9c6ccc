#include "MidiTestHelpers.h"

#include <tarn/processor/NoteLatcher.h>
#include <tarn/processor/NoteRangeClipper.h>
#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>
#include <tests/support/AllocationCounter.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (MidiEffects, processBlocksWithoutAllocatingAfterPrepare)
{
    tarn::VelocityRandomiser randomiser;
    tarn::VelocityScaler scaler;
    tarn::NoteRangeClipper clipper;
    tarn::NoteLatcher latcher;
    std::array<tarn::MidiEffectProcessor*, 4> effects { &randomiser, &scaler, &clipper, &latcher };

    for (auto* effect : effects)
        effect->prepareToPlay (48000.0, 512);

    randomiser.setAmount (20);
    scaler.setRange (30, 100);
    clipper.setRange (36, 96);
    latcher.setLatchActive (true);

    juce::AudioBuffer<float> audio (2, 512);
    juce::MidiBuffer midi;
    midi.ensureSize (tarn::MidiScratchBuffer::bytesFor (tarn::MidiScratchBuffer::defaultEventCapacity));

    for (int block = 0; block < 50; ++block)
    {
        midi.clear();

        for (int i = 0; i < 64; ++i)
            add (midi, (i + block) % 2 == 0 ? on (30 + i, 90, i * 8) : off (29 + i, i * 8 + 1));

        ScopedAllocationCounter counter;

        for (auto* effect : effects)
            effect->processBlock (audio, midi);

        ASSERT_EQ (counter.count(), 0u) << "block " << block;
    }
}
