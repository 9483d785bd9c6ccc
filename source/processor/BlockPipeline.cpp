#include "BlockPipeline.h"

#include "ControllerPreview.h"
#include "InputRetrigger.h"
#include "PanicMessages.h"
#include "ParameterChangeBits.h"

#include <tarn/processor/MidiNotes.h>

namespace notes = tarn::MidiNotes;

namespace
{
void copyEvents (const juce::MidiBuffer& source, juce::MidiBuffer& target) noexcept
{
    // A copy of the bytes keeps the target's own storage: no allocation while it has room.
    target.data.clearQuick();
    target.data.addArray (source.data.begin(), source.data.size());
}

/** The panic block's messages, built once for the process: adding 2064 events one by one
    at the same sample searches the growing buffer for each, far too slow for a block. */
const juce::MidiBuffer& panicBlock()
{
    static const auto messages = []
    {
        juce::MidiBuffer buffer;
        PanicMessages::addTo (buffer, 0);
        return buffer;
    }();

    return messages;
}
} // namespace

BlockPipeline::BlockPipeline (PhraseManager& phrasesToUse,
                              ProcessorRequests& requestsToUse,
                              const AtomicKeySignature& keySignatureToUse,
                              const juce::AudioProcessorValueTreeState& parameters)
    : phrases (phrasesToUse)
    , requests (requestsToUse)
    , keySignature (keySignatureToUse)
    , settings (parameters)
{
    panicBlock(); // built here, never on the audio thread
    prepare (sampleRate, 512);
}

void BlockPipeline::prepare (double newSampleRate, int maximumBlockSize)
{
    sampleRate = newSampleRate;
    transport.prepare (sampleRate);

    juce::ignoreUnused (maximumBlockSize); // the event caps, not the block length, size everything

    for (auto* stage : std::initializer_list<tarn::MidiStage*> { &latcher, &keyLock, &randomiser, &scaler, &swing, &clipper })
        stage->prepare (sampleRate, maxEventsPerBlock);

    extractor.prepare (maxEventsPerBlock);
    passthrough.prepare (maxEventsPerBlock);

    const auto bytes = tarn::MidiScratchBuffer::bytesFor (maxEventsPerBlock);

    for (auto* buffer : { &input, &output, &chain, &inputControllers, &passthroughNotes })
        buffer->ensureSize (bytes);

    // What one block of the player may add, with the old slot's notes ended by a switch.
    phraseEvents.ensureSize (tarn::MidiScratchBuffer::bytesFor (tarn::MidiMessageSequencePlayer::maxMessagesPerBlock
                                                                + tarn::StartedNoteList::capacity));

    // A host may prepare again with other settings in between; every setting is read afresh.
    applyAllSettings = true;
}

//==============================================================================
void BlockPipeline::process (juce::MidiBuffer& midi,
                             int numSamples,
                             const std::optional<juce::AudioPlayHead::PositionInfo>& hostPosition,
                             bool bypassedByHost) noexcept
{
    phrases.getRowHolder().update();
    copyEvents (midi, input);
    output.clear();

    applyParameterChanges();
    applySwingGrid();
    applyRequestedPhrase();

    const auto endedEarly = handlePanic (input, output)
                            || handleControllerPreview (input, output, numSamples)
                            || handleBypass (input, output, bypassedByHost);

    if (! endedEarly)
    {
        collectInputControllers (input);
        screenKeys.drainInto (input);

        auto position = transport.follow (hostPosition, numSamples, settings.isOn (Settings::dawTransportOnly) && ! withoutDawTransport);

        // A stopped timeline can place no note-off later: whatever sounds ends now.
        if (transport.hasJustStopped (position))
        {
            endOutputNotes (output);
            forgetPhraseNotes();
        }

        if (const auto mode = settings.whole (Settings::inputRetrigger); mode != InputRetrigger::off)
        {
            if (const auto sample = InputRetrigger::findTrigger (input, mode, extractor, held.getNotes()); sample >= 0)
            {
                phrases.getPlayer().resetLoopCountAndOrigin();
                transport.retrigger (position, sample);
            }
        }

        position = transport.shiftedByOrigin (position);

        if (const auto refresh = requests.playbackRefresh.exchange (ProcessorRequests::noRefresh);
            refresh == ProcessorRequests::playingPhraseChanged || refresh == ProcessorRequests::keyChanged)
            endOutputNotes (output);

        const auto key = keySignature.load();
        playPhrase (input, numSamples, position, key);
        runOutputChain (output, numSamples, position, key);

        if (settings.isOn (Settings::inputCcPassthrough))
            addAll (output, inputControllers);

        addAll (output, passthroughNotes);
    }

    publishDisplay (! endedEarly);
    copyEvents (output, midi);
}

//==============================================================================
void BlockPipeline::applyParameterChanges() noexcept
{
    using namespace ParameterChangeBits;

    auto bits = requests.pendingParameterChanges.exchange (0);

    if (applyAllSettings)
    {
        // Everything but the key lock's refresh, which only matters when the lock changes.
        bits |= keyswitchSwitches | keyswitchRange | inputRetrigger | inputFill | inputLatch | swingAmount
                | randomVelocity | velocityScale | outputRange;
        applyAllSettings = false;
    }

    if (bits == 0)
        return;

    auto& switchable = phrases.getPlayer();

    if ((bits & keyswitchSwitches) != 0)
    {
        const auto enabled = settings.isOn (Settings::keyswitchEnable);
        extractor.setEnabled (enabled);
        switchable.setKeyswitchOptions (enabled, settings.isOn (Settings::keyswitchHold), settings.isOn (Settings::keyswitchRetrigger));
    }

    if ((bits & keyswitchRange) != 0)
        extractor.setRange (settings.whole (Settings::keyswitchRange));

    if ((bits & inputRetrigger) != 0)
        transport.clearRetriggerOrigin();

    if ((bits & inputFill) != 0)
        held.setFill (settings.isOn (Settings::inputFill));

    if ((bits & inputLatch) != 0)
        latcher.setLatchActive (settings.isOn (Settings::inputLatch));

    if ((bits & lockToKey) != 0)
        requests.playbackRefresh.store (ProcessorRequests::keyChanged);

    if ((bits & swingAmount) != 0)
        swing.setAmount ((double) settings.raw (Settings::swingAmount) / 100.0);

    if ((bits & randomVelocity) != 0)
        randomiser.setAmount (settings.whole (Settings::randomVelocity));

    if ((bits & velocityScale) != 0)
        scaler.setRange (settings.whole (Settings::velocityScaleLow), settings.whole (Settings::velocityScaleHigh));

    if ((bits & outputRange) != 0)
        clipper.setRange (settings.whole (Settings::noteOutputRangeLow), settings.whole (Settings::noteOutputRangeHigh));
}

void BlockPipeline::applySwingGrid() noexcept
{
    if (const auto choice = requests.swingGridChoice.load(); choice != swingGridChoice)
    {
        swingGridChoice = choice;
        swing.setGridChoice (choice);
    }
}

void BlockPipeline::applyRequestedPhrase() noexcept
{
    // The old phrase's notes end at sample 0: the player ends what it started, the refresh
    // everything that came out of the rows and the output chain.
    requestSeen = requests.requestedPhraseIndex.load();

    if (phrases.getPlayer().applyRequestedIndex (requestSeen))
        requests.playbackRefresh.store (ProcessorRequests::playingPhraseChanged);
}

void BlockPipeline::followKeyswitchedPhrase() noexcept
{
    // A keyswitch chose another phrase: the request follows it, or the next block would
    // switch back. A request the editor made during this block is newer, and stays.
    const auto playing = phrases.getPlayer().getCurrentIndex();

    if (playing != requestSeen)
        requests.requestedPhraseIndex.compare_exchange_strong (requestSeen, playing);
}

void BlockPipeline::publishDisplay (bool phrasePlayed) noexcept
{
    PlaybackDisplay now;
    now.playingPhrase = phrases.getPlayer().getCurrentIndex();
    now.playheadTick = phrasePlayed ? phrases.getPlayer().getPlayer (now.playingPhrase).getPlayheadTick() : -1.0;
    now.soundingRows = resolver.getSoundingRows();
    now.soundingNotes = tracker.getSoundingNotes();
    display.publish (now);
}

//==============================================================================
bool BlockPipeline::handlePanic (juce::MidiBuffer& in, juce::MidiBuffer& out) noexcept
{
    if (requests.panic.exchange (0) == 0)
        return false;

    keepKeyswitchEvents (in);
    copyEvents (panicBlock(), out); // the first thing the block sends

    // The panic messages end everything, raw-passed notes included.
    tracker.clear();
    inputNotes.forgetRawNotes();
    endOutputNotes (out);
    forgetInputChord();
    forgetPhraseNotes();
    return true;
}

bool BlockPipeline::handleControllerPreview (juce::MidiBuffer& in, juce::MidiBuffer& out, int numSamples) noexcept
{
    const auto word = requests.controllerPreview.exchange (0);

    if (word == 0)
        return false;

    keepKeyswitchEvents (in);
    ControllerPreview::buildBlock (in, word, tracker, out);

    // Keys that were passed through raw as another pitch end at that pitch.
    passthrough.collect (in, out, false, nullptr);

    juce::ignoreUnused (numSamples);
    endOutputNotes (out);
    forgetInputChord();
    forgetPhraseNotes();
    return true;
}

bool BlockPipeline::handleBypass (juce::MidiBuffer& in, juce::MidiBuffer& out, bool bypassedByHost) noexcept
{
    if (settings.isOn (Settings::enable) && ! bypassedByHost)
    {
        wasBypassed = false;
        return false;
    }

    if (! wasBypassed)
    {
        wasBypassed = true;
        endOutputNotes (out);
        forgetInputChord();
        forgetPhraseNotes();
        transport.clearRetriggerOrigin();
        transport.forgetPlaying();
        requests.playbackRefresh.store (ProcessorRequests::noRefresh);
    }

    keepKeyswitchReleasesOfBypassedBlock (in);
    passthrough.passBypassed (in);
    addAll (out, in);
    return true;
}

//==============================================================================
void BlockPipeline::collectInputControllers (const juce::MidiBuffer& in) noexcept
{
    inputControllers.clear();

    for (const auto m : in)
        if (notes::isController (m))
            inputControllers.addEvent (m.data, m.numBytes, m.samplePosition);
}

void BlockPipeline::playPhrase (juce::MidiBuffer& in, int numSamples, const tarn::BlockPosition& position, const KeySignature& key) noexcept
{
    auto& switchable = phrases.getPlayer();

    // Keyswitches: every block, so a key pressed while keyswitching was on is released as
    // a keyswitch even if the switch or the range changed meanwhile.
    keyswitchEvents.clear();

    for (const auto& kept : keptKeyswitchEvents)
        keyswitchEvents.add ({ kept.slot, kept.pressed, 0 });

    keptKeyswitchEvents.clear();
    extractor.extract (in, keyswitchEvents);

    const auto current = switchable.getCurrentIndex();
    const auto decision = keyswitchEvents.decide (current);
    const auto playing = decision.newSlot >= 0 ? decision.newSlot : current;

    passthroughNotes.clear();
    const auto scaleToKey = settings.isOn (Settings::notePassthroughScale) && settings.isOn (Settings::lockToKey);
    passthrough.collect (in, passthroughNotes, settings.isOn (Settings::notePassthrough), scaleToKey ? &key : nullptr);

    latcher.process (in);
    held.update (in);

    // The key pressed last decides the phrase. The player is handed that press alone, so it
    // starts (and cuts or opens its gate) there; the phrase that played before ends at the
    // first press that left it.
    phraseEvents.clear();
    tarn::SwitchableSequencePlayer::SelectingEvent selecting[2];
    int numSelecting = 0;

    if (decision.startSample >= 0)
        selecting[numSelecting++] = { playing, true, decision.startSample };

    if (decision.stopSample >= 0)
        selecting[numSelecting++] = { playing, false, decision.stopSample };

    if (decision.newSlot >= 0 && decision.switchSample >= 0 && decision.switchSample < decision.startSample)
        switchable.getPlayer (current).endHeldNotes (phraseEvents, decision.switchSample);

    phrases.playBlock (phraseEvents, numSamples, position, numSelecting > 0 ? selecting : nullptr, numSelecting);
    followKeyswitchedPhrase();

    chain.clear();
    resolver.setChord (held.getNotes());
    resolver.resolve (phraseEvents, chain, phrases.getRowHolder().get(), { held.isFillOn(), settings.isOn (Settings::velocityPassthrough) });
}

void BlockPipeline::runOutputChain (juce::MidiBuffer& out, int numSamples, const tarn::BlockPosition& position, const KeySignature& key) noexcept
{
    // The key lock runs with the lock off too: it still sends note-offs to the pitches
    // their note-ons were moved to.
    keyLock.setKey (key, settings.isOn (Settings::lockToKey));
    keyLock.process (chain);
    randomiser.process (chain);
    scaler.process (chain);

    std::optional<Swing::Position> swingPosition;

    if (TransportFollower::isPlaying (position))
        swingPosition = Swing::Position { position.ppqPosition, position.bpm };

    swing.setBlock (numSamples, swingPosition);
    swing.process (chain);
    clipper.process (chain);
    tracker.record (chain);

    addAll (out, chain);
}

//==============================================================================
void BlockPipeline::endOutputNotes (juce::MidiBuffer& out) noexcept
{
    // Swing's delayed note-offs belong to note-ons the tracker ends right here, and its
    // delayed note-ons must never come out: all of them are dropped.
    swing.reset();

    tracker.endAll (out, 0);
    resolver.clearSounding();
    keyLock.reset();
    clipper.reset();
}

void BlockPipeline::forgetInputChord() noexcept
{
    held.clear();
    latcher.reset();
}

void BlockPipeline::forgetPhraseNotes() noexcept
{
    auto& switchable = phrases.getPlayer();

    for (int slot = 0; slot < switchable.getNumPlayers(); ++slot)
        switchable.getPlayer (slot).forgetHeldNotes();
}

void BlockPipeline::keepKeyswitchEvents (juce::MidiBuffer& in) noexcept
{
    keyswitchEvents.clear();
    extractor.extract (in, keyswitchEvents);

    for (const auto& e : keyswitchEvents)
        keptKeyswitchEvents.add (e);
}

void BlockPipeline::keepKeyswitchReleasesOfBypassedBlock (const juce::MidiBuffer& in) noexcept
{
    // The bypassed block passes the key raw and forgets how it was pressed: a keyswitch
    // pressed before bypass still has to close its phrase's gate.
    for (const auto m : in)
        if (notes::isNoteOff (m))
            if (const auto slot = inputNotes.peekPress (notes::channelIndexOf (m), notes::noteOf (m)); slot >= 0)
                keptKeyswitchEvents.add ({ slot, false, 0 });
}

void BlockPipeline::addAll (juce::MidiBuffer& target, const juce::MidiBuffer& source) noexcept
{
    target.addEvents (source, 0, -1, 0);
}
