#include <source/processor/HeldNoteList.h>
#include <tests/support/MidiEvents.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace cadenzium::test;

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
