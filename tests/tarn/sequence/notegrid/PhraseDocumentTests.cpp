#include <tests/support/Phrases.h>

#include <tarn/sequence/notegrid/PhraseDifference.h>
#include <tarn/sequence/notegrid/PhraseDocument.h>

#include <gtest/gtest.h>

using namespace tarn;
using namespace cadenzium::test;

namespace
{
struct Replacements : PhraseDocument::Listener
{
    void phraseReplaced() override { ++count; }
    int count = 0;
};
} // namespace

TEST (PhraseDocument, aGesturePreviewsOnACopyAndCommitsOnce)
{
    PhraseDocument document;
    Replacements replacements;
    document.addListener (&replacements);
    std::vector<Sequence> committed;
    document.onCommit = [&committed] (const Sequence& s)
    { committed.push_back (s); };

    const auto original = makeSequence ({ makeNote (0, 0, 240) });
    document.setPhrase (original);
    document.showPreview (makeSequence ({ makeNote (0, 10, 240) }), { 0 });
    EXPECT_EQ (document.getPhrase().notes[0].timestamp, 10);
    EXPECT_EQ (document.getCommittedPhrase().notes[0].timestamp, 0);
    EXPECT_TRUE (committed.empty());

    EXPECT_TRUE (document.commit (makeSequence ({ makeNote (0, 50, 240) }), { 0 }));
    EXPECT_FALSE (document.isPreviewing());
    EXPECT_FALSE (document.commit (document.getPhrase(), { 0 })) << "what is there already hands nothing on";
    ASSERT_EQ (committed.size(), 1u);

    // The owner echoing the committed phrase keeps the selection; another phrase drops it
    // and ends whatever gesture was under way.
    const auto replacedBefore = replacements.count;
    document.setPhrase (committed[0]);
    EXPECT_EQ (document.getSelection(), NoteSelection ({ 0 }));
    EXPECT_EQ (replacements.count, replacedBefore);
    document.setPhrase (original);
    EXPECT_TRUE (document.getSelection().isEmpty());
    EXPECT_EQ (replacements.count, replacedBefore + 1);

    // A cancelled gesture shows the committed phrase again.
    document.showPreview (makeSequence ({}), {});
    document.cancelPreview();
    EXPECT_EQ (document.getPhrase().notes.size(), 1u);
    document.removeListener (&replacements);
}

TEST (PhraseDifference, namesOnlyTheNotesLoopsAndLanesThatChanged)
{
    std::vector<SequenceNote> notes;

    for (int i = 0; i < 2000; ++i)
        notes.push_back (makeNote (i % 32, (i / 32) * 60, 60));

    const auto before = makeSequence (notes, 3840 * 16);
    auto after = before;
    after.notes[5].timestamp += 3000; // moves past hundreds of others in time order
    after.normalise();
    after.loops[4] = { 0, 960 };

    const auto difference = PhraseDifference::between (before, after);
    ASSERT_EQ (difference.notes.size(), 2u);
    EXPECT_EQ (difference.notes[0].row, before.notes[5].number);
    EXPECT_EQ (difference.loopRows, std::vector<int> { 4 });
    EXPECT_FALSE (difference.lanesChanged);
    EXPECT_FALSE (difference.timingChanged);
    EXPECT_TRUE (PhraseDifference::between (before, before).isEmpty());
}
