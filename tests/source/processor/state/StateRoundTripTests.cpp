#include "StateTestSupport.h"

#include <source/processor/state/GenerationTree.h>
#include <source/processor/state/RowTree.h>

#include <gtest/gtest.h>

#include <functional>

using namespace cadenzium::test;

namespace
{
/** An instance with something other than the defaults in every part of the state. */
void fillWithASong (Cadenzium2AudioProcessor& p)
{
    auto& phrases = p.getPhraseManager();
    EditCommands commands (p);

    commands.newController ({ tarn::ControllerLane::controlChange, 1, 1, "Mod" });
    commands.newController ({ tarn::ControllerLane::pitchBend, -1, 2, {} });
    p.setControllerGenerationSetting (0, ControllerGeneration::Ids::enable, true);
    p.setControllerGenerationSetting (0, ControllerGeneration::Ids::density, 75.0);

    commands.newRows (3);
    auto row = phrases.getRows()[2];
    std::tie (row.type, row.value, row.transpose, row.channel) = std::tuple (CadenziumModifier::fixed, 72, -5, 4);
    row.name = "Lead";
    commands.changeRow (2, row);
    commands.setRowMuted (1, true);

    auto phrase = phrases.getSequence (3);
    phrase.name = juce::String::fromUTF8 ("Riff & <B> \"\xc3\xa9\" 'x'\n\t;"); // what XML must escape
    phrase.setLength (7680);
    phrase.loopCount = 3;
    phrase.notes = { makeNote (0, 0, 240), makeNote (2, 960, 480, 90), makeNote (10, 1920, 240) };
    phrase.loops[2] = { 960, 1920 };
    phrase.lanes[0].points = { { 0, 10, 0.5f, 0 }, { 960, 100, 0.25f, 2 } };
    phrase.normalise();
    commands.editPhrase (3, phrase);
    p.requestPhrase (3);

    p.setKeySignature (KeySignature (1, Scales::find ("Dorian").value()));
    p.setSwingGridChoice (2);
    p.setRawParameterValueNotifyingHost (ParameterIds::swingAmount, 40.0f);
    p.setRawParameterValueNotifyingHost (ParameterIds::keyswitchRange, 5.0f);
    p.setRawParameterValueNotifyingHost (ParameterIds::genNoteDensity, 55.0f);

    p.setPianoRollSetting ("grid", 106);
    p.setEditorSetting (SettingsTree::windowWidthId, 1500);
    p.setEditorSetting ("sidebar_view", "generation");
}
} // namespace

TEST (StateRoundTrip, aFreshInstanceGetsBackEveryPartOfTheStateWritesTheSameBytesAndReloadsOnlyWhatChanged)
{
    Cadenzium2AudioProcessor original;
    fillWithASong (original);
    const auto state = stateOf (original);

    const auto tree = treeOf (state);
    ASSERT_TRUE (tree.hasType ("cadenzium2"));
    EXPECT_EQ (tree["version"].toString(), "2.5.0");
    EXPECT_EQ (tree.getChildWithName ("playback").getChildWithName ("key_signature")["name"].toString(), "C# Dorian");

    Cadenzium2AudioProcessor restored;
    restore (restored, state);

    // The rows, lanes, key, swing, parameters and settings are written from what the
    // instance holds, so the same bytes prove them; a phrase's node may be kept from the
    // restored tree, so the phrases are compared themselves.
    for (int slot = 0; slot < Cadenzium2AudioProcessor::numPhrases; ++slot)
        EXPECT_TRUE (tarn::sequencesAreEqual (restored.getPhrase (slot), original.getPhrase (slot))) << "phrase " << slot;

    EXPECT_EQ (restored.getPhrase (3).name, original.getPhrase (3).name);
    EXPECT_EQ (restored.getRequestedPhrase(), 3);
    EXPECT_EQ (stateOf (restored), state);
    EXPECT_EQ (stateOf (restored), state) << "a second write must not change anything";

    // Songs saved before must compare equal: the text is what the framework writes.
    juce::MemoryBlock framework;
    juce::AudioProcessor::copyXmlToBinary (*tree.createXml(), framework);
    EXPECT_EQ (state, framework);

    // The same XML laid out another way is read the careful way, to the same song.
    const auto laidOut = containerFor (tree.toXmlString());
    ASSERT_NE (laidOut, state);
    Cadenzium2AudioProcessor fromLaidOut;
    restore (fromLaidOut, laidOut);
    EXPECT_EQ (stateOf (fromLaidOut), state);

    // The host hands back what it saved: no phrase is loaded again (its notes keep sounding).
    auto& phrases = restored.getPhraseManager();
    const auto versionBefore = phrases.getPhraseVersion (3);
    restore (restored, stateOf (restored));
    restore (restored, state);
    EXPECT_EQ (phrases.getPhraseVersion (3), versionBefore);

    // An edit is saved; back to the first song, the edited phrase returns to what it holds.
    auto edited = restored.getPhrase (3);
    edited.notes.push_back (makeNote (4, 3000, 240));
    edited.normalise();
    EditCommands (restored).editPhrase (3, edited);
    EXPECT_NE (stateOf (restored), state);
    restore (restored, state);
    EXPECT_TRUE (tarn::sequencesAreEqual (restored.getPhrase (3), original.getPhrase (3)));
    EXPECT_EQ (stateOf (restored), state);
}

TEST (StateRoundTrip, rowColoursKeepAllThirtyTwoBitsIncludingTheAlphaByteAndTheTopBit)
{
    const juce::uint32 colours[] = { 0xff888888u, 0x80000001u, 0x7f00ff00u, 0x00123456u };

    Cadenzium2AudioProcessor original;
    EditCommands commands (original);
    commands.newRows (4 - (int) original.getPhraseManager().getRows().size());

    for (int i = 0; i < 4; ++i)
    {
        auto row = original.getPhraseManager().getRows()[(size_t) i];
        row.colour = (int) colours[i];
        commands.changeRow (i, row);
    }

    Cadenzium2AudioProcessor restored;
    restore (restored, stateOf (original));

    for (int i = 0; i < 4; ++i)
        EXPECT_EQ ((juce::uint32) restored.getPhraseManager().getRows()[(size_t) i].colour, colours[i]) << i;

    // Other writers put the same word down unsigned; a number that is no 32-bit word is no colour.
    const auto colourOf = [] (const juce::String& text)
    { return (juce::uint32) RowTree::readRow (juce::ValueTree (RowTree::rowType).setProperty ("colour", text, nullptr)).colour; };

    EXPECT_EQ (colourOf ("4287137928"), 0xff888888u);
    EXPECT_EQ (colourOf ("-7829368"), 0xff888888u);
    EXPECT_EQ (colourOf ("4294967296"), 0u);
    EXPECT_EQ (colourOf ("1e300"), 0u);
    EXPECT_EQ (colourOf ("12.5"), 0u);
}

TEST (StateRoundTrip, loadingAStateOrPresetForgetsTheUndoHistory)
{
    Cadenzium2AudioProcessor processor;
    const auto song = stateOf (processor);
    auto& phrases = processor.getPhraseManager();

    EditCommands (processor).newRow();
    ASSERT_TRUE (phrases.canUndo());
    restore (processor, song);

    EXPECT_FALSE (phrases.canUndo());
    EXPECT_EQ (phrases.getUndoTooltip(), "Nothing to undo");
    EXPECT_EQ (phrases.getRows(), PhraseManager::makeDefaultRows());

    EditCommands (processor).deleteRow (0);
    processor.storeParameterSnapshot();
    processor.readStateTree (treeOf (song), true);
    EXPECT_FALSE (phrases.undo());
    EXPECT_EQ (phrases.getRows(), PhraseManager::makeDefaultRows());
}

TEST (StateRoundTrip, partsMissingFromAStateKeepWhatTheyWereExceptTheRows)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newController ({ tarn::ControllerLane::controlChange, 7, 1, {} });
    processor.setKeySignature (KeySignature (9, Scales::find ("Natural Minor").value()));
    processor.setSwingGridChoice (1);
    processor.setEditorSetting ("show_keyboard_view", false);

    restore (processor, containerFor ("<cadenzium2/>"));

    EXPECT_EQ (processor.getPhraseManager().getControllerTypes().size(), 1u);
    EXPECT_EQ (processor.getKeySignature().getRoot(), 9);
    EXPECT_EQ (processor.getSwingGridChoice(), 1);
    EXPECT_FALSE ((bool) processor.getEditorSettings()["show_keyboard_view"]);
    EXPECT_EQ (processor.getControllerGenerationSettings().getNumChildren(), 1);
    EXPECT_TRUE (processor.getPhraseManager().getRows().empty()) << "the rows are whatever the state holds";
}

TEST (StateRoundTrip, viewAndGenerationSettingChangesReachTheHostButARestoreDoesNot)
{
    Cadenzium2AudioProcessor processor;
    EditCommands (processor).newController ({ tarn::ControllerLane::controlChange, 1, 1, {} });
    const auto internal = [&processor]
    {
        processor.flushStateChangePing();
        return processor.getRawParameterValue (ParameterIds::internal);
    };

    for (const auto& change : std::vector<std::function<void()>> { [&]
                                                                   { processor.setPianoRollSetting ("grid", 104); },
                                                                   [&]
                                                                   { processor.setEditorSetting ("show_sidebar", false); },
                                                                   [&]
                                                                   { processor.setControllerGenerationSetting (0, ControllerGeneration::Ids::density, 50.0); } })
    {
        const auto before = internal();
        change();
        EXPECT_NE (internal(), before);
    }

    // An edit's ping comes once it is over, on the message thread.
    const auto before = internal();
    EditCommands (processor).newRow();
    EXPECT_EQ (processor.getRawParameterValue (ParameterIds::internal), before) << "not inside the edit";
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_NE (processor.getRawParameterValue (ParameterIds::internal), before);

    Cadenzium2AudioProcessor other;
    other.setPianoRollSetting ("grid", 110);
    other.setEditorSetting ("show_sidebar", true);
    const auto song = stateOf (other);

    // The restored value of `internal` is the song's own, not a ping on top of it.
    restore (processor, song);
    EXPECT_EQ (internal(), other.getRawParameterValue (ParameterIds::internal));
    EXPECT_EQ ((int) processor.getPianoRollSettings()["grid"], 110);
}
