#include <source/processor/HeldNoteList.h>
#include <tests/tarn/processor/MidiTestHelpers.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cadenzium::test;

TEST (HeldNoteList, keepsPressOrderAndListsEachNoteOnce)
{
    HeldNoteList held;
    EXPECT_TRUE (held.isFillOn());

    held.update (bufferOf ({ on (67, 127, 0), on (60, 64, 1, 2), on (67, 10, 2, 3), on (64, 100, 3) }));
    const auto notes = held.getSnapshot();

    ASSERT_EQ (notes.size(), 3);
    EXPECT_EQ (notes[0].note, 67);
    EXPECT_FLOAT_EQ (notes[0].velocity, 1.0f);
    EXPECT_EQ (notes[1].note, 60);
    EXPECT_EQ (notes[1].channel, 2);
    EXPECT_EQ (notes[2].note, 64);

    held.update (bufferOf ({ off (60, 0, 5), on (72, 0, 1) }));
    EXPECT_EQ (held.getNotes().size(), 2);
    EXPECT_FALSE (held.getNotes().containsNote (60));
}

TEST (HeldNoteList, theEditorCopiesWholeChordsWhileTheAudioThreadChangesThem)
{
    HeldNoteList held;
    std::atomic<bool> done { false };
    std::atomic<int> tornCopies { 0 };

    std::thread editor ([&]
                        {
                            while (! done)
                            {
                                // The audio thread only ever holds the whole chord or none of it.
                                const auto snapshot = held.getSnapshot();
                                if (snapshot.size() != 0 && snapshot.size() != 3)
                                    ++tornCopies;
                            } });

    const auto chord = bufferOf ({ on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) });
    const auto release = bufferOf ({ off (60, 0), off (64, 0), off (67, 0) });

    for (int i = 0; i < 20000; ++i)
        held.update (i % 2 == 0 ? chord : release);

    done = true;
    editor.join();
    EXPECT_EQ (tornCopies.load(), 0);
}
