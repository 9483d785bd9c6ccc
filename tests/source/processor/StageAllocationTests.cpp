#include <source/processor/ControllerPreview.h>
#include <source/processor/InputRetrigger.h>
#include <source/processor/KeyLock.h>
#include <source/processor/NotePassthrough.h>
#include <source/processor/PanicMessages.h>
#include <source/processor/RowListHolder.h>
#include <source/processor/RowResolver.h>
#include <source/processor/Swing.h>
#include <tarn/processor/NoteLatcher.h>
#include <tarn/processor/NoteRangeClipper.h>
#include <tarn/processor/VelocityRandomiser.h>
#include <tarn/processor/VelocityScaler.h>
#include <tests/support/AllocationCounter.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

TEST (Stages, aBlockThroughEveryStageAllocatesNothingAfterPrepare)
{
    constexpr int blockSize = 512;
    const auto capacity = tarn::MidiScratchBuffer::bytesFor (tarn::MidiScratchBuffer::defaultEventCapacity);

    InputNoteTable table;
    KeyswitchExtractor keyswitches { table };
    NotePassthrough passthrough { table };
    tarn::NoteLatcher latcher;
    tarn::VelocityRandomiser randomiser;
    tarn::VelocityScaler scaler;
    tarn::NoteRangeClipper clipper;
    HeldNoteList held;
    RowResolver resolver;
    KeyLock keyLock;
    Swing swing;
    OutputNoteTracker tracker;
    KeyswitchEvents keyswitchEvents;

    CadenziumModifier all, fixed;
    all.type = CadenziumModifier::all;
    fixed.type = CadenziumModifier::fixed;
    fixed.value = 61;
    RowListHolder rows (RowList { all, fixed });

    for (auto* effect : std::initializer_list<tarn::MidiEffectProcessor*> { &latcher, &randomiser, &scaler, &clipper })
        effect->prepareToPlay (48000.0, blockSize);

    latcher.setLatchActive (true);
    randomiser.setAmount (20);
    scaler.setRange (30, 100);
    clipper.setRange (36, 96);
    swing.prepare (48000.0);
    swing.setAmount (0.7);
    keyswitches.setRange (2);

    juce::MidiBuffer input, phrase, output, passed;
    for (auto* buffer : { &input, &phrase, &output, &passed })
        buffer->ensureSize (capacity);

    juce::AudioBuffer<float> audio (2, blockSize);
    const KeySignature key (2, *Scales::find ("Dorian"));

    for (int block = 0; block < 200; ++block)
    {
        input.clear();
        phrase.clear();
        output.clear();
        passed.clear();

        for (int i = 0; i < 8; ++i)
            add (input, (block + i) % 2 == 0 ? on (24 + (block * 7 + i * 5) % 60, 100, i * 60) : off (24 + (block * 7 + i * 3) % 60, i * 60 + 1));
        add (phrase, on (block % 2, 100, 10));
        add (phrase, off ((block + 1) % 2, 300));

        ScopedAllocationCounter counter;

        rows.update();
        InputRetrigger::findTrigger (input, InputRetrigger::allNotesOff, keyswitches, held.getNotes());
        keyswitchEvents.clear();
        keyswitches.extract (input, keyswitchEvents);
        keyswitchEvents.decide (0);
        passthrough.collect (input, passed, true, &key);
        latcher.processBlock (audio, input);
        held.update (input);
        resolver.setChord (held.getNotes());
        resolver.resolve (phrase, output, rows.get(), {});
        keyLock.process (output, key, true);
        randomiser.processBlock (audio, output);
        scaler.processBlock (audio, output);
        swing.process (output, blockSize, Swing::Position { block * 0.25, 120.0 });
        clipper.processBlock (audio, output);
        tracker.record (output);

        if (block % 50 == 49)
        {
            tracker.endAll (output, 0);
            swing.reset (output, 0);
            PanicMessages::addTo (output, 0);
            ControllerPreview::buildBlock (input, ControllerPreview::pack (0, 1, 64), tracker, passed);
            passthrough.passBypassed (input);
        }

        ASSERT_EQ (counter.count(), 0u) << "block " << block;
    }
}
