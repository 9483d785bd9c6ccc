#include <tests/source/render/MidiFileBuilder.h>

#include <source/render/CadenziumRenderer.h>
#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
using Rendered = CadenziumRenderer::RenderedMidi;
using M = CadenziumModifier;

/** Pumps the message loop until `done` or a minute has passed. */
void runMessagesUntil (const std::function<bool()>& done)
{
    const auto deadline = juce::Time::getMillisecondCounter() + 60000;

    while (! done() && juce::Time::getMillisecondCounter() < deadline)
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
}
} // namespace

TEST (CadenziumRenderer, oneRenderRunsAtATimeAndACancelledOneReportsNothing)
{
    TemporaryFolder folder;
    const auto longChords = writeChords (folder, std::vector<std::vector<int>> (256, { 60, 64, 67 }));
    const auto shortChords = writeChords (folder, { { 62, 65, 69 } }, 960, "Short.mid");

    Cadenzium2AudioProcessor live;
    live.getPhraseManager().setRows ({ makeRow (M::pitch, 0), makeRow (M::all) });
    live.getPhraseManager().setSequence (0, makePhrase ({ { 0, 0, 240 }, { 1, 960, 960 } }), nullptr);

    CadenziumRenderer renderer;
    int completions = 0;
    juce::Result result = juce::Result::fail ("none");
    std::unique_ptr<Rendered> data;
    const auto collect = [&] (juce::Result r, std::unique_ptr<Rendered> d)
    {
        ++completions;
        result = r;
        data = std::move (d);
    };

    ASSERT_TRUE (renderer.start (live, 0, longChords, collect).wasOk());
    EXPECT_EQ (renderer.start (live, 0, shortChords, collect).getErrorMessage(), juce::String (CadenziumRenderer::alreadyRenderingMessage));
    runMessagesUntil ([&]
                      { return completions > 0; });
    ASSERT_EQ (completions, 1);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();
    ASSERT_NE (data, nullptr);
    EXPECT_FALSE (renderer.isRendering());

    // The refused start left the running render as it would have been alone.
    juce::MemoryBlock state;
    live.getStateInformation (state);
    Cadenzium2AudioProcessor copy;
    copy.setStateInformation (state.getData(), (int) state.getSize());
    Rendered alone;
    ASSERT_TRUE (CadenziumRenderer::render (copy, 0, longChords, alone).wasOk());
    EXPECT_EQ (data->fileData, alone.fileData);

    // A render that has finished but whose completion has not run yet still holds the
    // renderer: its result goes to its own callback.
    ASSERT_TRUE (renderer.start (live, 0, shortChords, collect).wasOk());
    juce::Thread::sleep (300);
    EXPECT_TRUE (renderer.start (live, 0, longChords, collect).failed());
    runMessagesUntil ([&]
                      { return completions > 1; });
    EXPECT_EQ (completions, 2);
    EXPECT_EQ (data->events.getEndTime(), 2 * 3840.0);

    // A completion may start the next render straight away.
    ASSERT_TRUE (renderer.start (live, 0, shortChords, [&] (juce::Result r, std::unique_ptr<Rendered> d)
                                 {
                                     collect (r, std::move (d));
                                     EXPECT_TRUE (renderer.start (live, 0, shortChords, collect).wasOk()); })
                     .wasOk());
    runMessagesUntil ([&]
                      { return completions > 3; });
    EXPECT_EQ (completions, 4);
    EXPECT_TRUE (result.wasOk()) << result.getErrorMessage();

    ASSERT_TRUE (renderer.start (live, 0, longChords, collect).wasOk());
    renderer.cancel();
    EXPECT_FALSE (renderer.isRendering());
    juce::MessageManager::getInstance()->runDispatchLoopUntil (100);
    EXPECT_EQ (completions, 4) << "a cancelled render posts no result";
}
