// Lock-free hand-overs between the audio thread and the others.

#include <source/processor/HeldNoteList.h>
#include <source/processor/RowListHolder.h>
#include <source/processor/RowResolver.h>
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

namespace
{
/** Sixteen Fixed rows on note 60, all transposed by the same amount: a list read while
    it is being replaced would show mixed transposes. */
RowList uniformRows (int transpose)
{
    CadenziumModifier r;
    r.type = CadenziumModifier::fixed;
    r.value = 60;
    r.transpose = transpose;
    return RowList (16, r);
}
} // namespace

TEST (RowListHolder, listsReplacedByTheMessageThreadResolveWholeOnTheAudioThread)
{
    RowListHolder holder (uniformRows (0));
    std::atomic<bool> done { false };
    constexpr int numLists = 3000;

    std::thread messageThread ([&]
                               {
                                   for (int i = 1; i <= numLists; ++i)
                                   {
                                       holder.publish (uniformRows (i % 60));
                                       if (i % 7 == 0)
                                           holder.collectGarbage();
                                   }
                                   done = true; });

    RowResolver resolver;
    resolver.setChord (HeldNotes());
    const auto phrase = bufferOf ({ on (5, 100, 0), off (5, 1) });
    juce::MidiBuffer out;
    int adopted = 0, mixed = 0, wrongPitch = 0;

    while (! done || holder.hasUnadoptedObject())
    {
        adopted += holder.update() ? 1 : 0;
        const auto& rows = holder.get();

        for (const auto& r : rows)
            mixed += r.transpose != rows.front().transpose ? 1 : 0;

        out.clear();
        resolver.resolve (phrase, out, rows, {});
        const auto events = eventsOf (out);
        wrongPitch += events.size() != 2 || events[0].data1 != 60 + rows.front().transpose ? 1 : 0;

        if (done)
            holder.collectGarbage(); // the message thread is gone; stand in for its timer
    }

    messageThread.join();

    EXPECT_GT (adopted, 0);
    EXPECT_EQ (mixed, 0);
    EXPECT_EQ (wrongPitch, 0);
    EXPECT_EQ (holder.get().front().transpose, numLists % 60) << "the newest list is the one that plays";
}
