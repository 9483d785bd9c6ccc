#include "StateTestSupport.h"

#include <tests/source/processor/PluginHarness.h>

#include <gtest/gtest.h>

using namespace cadenzium::test;

namespace
{
const std::vector<Event> heldChord { on (60, 100, 0), on (64, 100, 0), on (67, 100, 0) };
} // namespace

TEST (StateRestoreNotes, aStateSavedWhileNotesSoundLeavesNoNoteHangingWhenRestored)
{
    PluginHarness harness;
    auto& processor = harness.processor;
    EditCommands (processor).editPhrase (0, makePhrase ({ { 0, 0, 2400 } }));

    harness.block (heldChord);
    harness.playUntilTick (200);
    ASSERT_EQ (harness.counter.sounding(), 1);

    // Saved mid-note; then the phrase and the rows change while the new phrase's note sounds.
    const auto savedMidNote = stateOf (processor);
    EditCommands (processor).editPhrase (0, makePhrase ({ { 2, 480, 2400 } }));
    auto rows = processor.getPhraseManager().getRows();
    rows[2].transpose = 12;
    EditCommands (processor).changeRow (2, rows[2]);
    harness.playUntilTick (800);
    ASSERT_EQ (harness.counter.sounding(), 1);

    // The restore ends what sounds; the restored phrase strikes again only in the next bar.
    restore (processor, savedMidNote);
    harness.playUntilTick (3700);
    EXPECT_EQ (harness.counter.sounding(), 0);

    harness.playUntilTick (4200);
    EXPECT_EQ (harness.counter.sounding(), 1);
}
