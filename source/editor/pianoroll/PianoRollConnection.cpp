#include "PianoRollConnection.h"

namespace
{
const juce::Identifier& rangeIdFor (tarn::ValueEditorMode mode)
{
    return mode == tarn::ValueEditorMode::transpose ? PianoRollConnection::transposeRangeId
           : mode == tarn::ValueEditorMode::octave  ? PianoRollConnection::octaveRangeId
                                                    : PianoRollConnection::velocityRangeId;
}
} // namespace

PianoRollConnection::PianoRollConnection (Cadenzium2AudioProcessor& processorToUse, tarn::PianoRoll& pianoRollToUse)
    : processor (processorToUse)
    , pianoRoll (pianoRollToUse)
{
    processor.getPhraseManager().addEditListener (this);
    pianoRoll.addListener (this);
    readViewSettings();
    refresh();
    startTimerHz (tarn::PianoRollMetrics::playbackTimerHz);
}

PianoRollConnection::~PianoRollConnection()
{
    stopTimer();
    pianoRoll.removeListener (this);
    processor.getPhraseManager().removeEditListener (this);
}

void PianoRollConnection::setEditedPhrase (int newSlot)
{
    slot = juce::jlimit (0, Cadenzium2AudioProcessor::numPhrases - 1, newSlot);
    phraseNeedsReading = true;
    restingTick = -1.0;
    refresh();
}

tarn::GridSize PianoRollConnection::getGrid() const
{
    return pianoRoll.getNoteEditor().getGrid();
}

//==============================================================================
void PianoRollConnection::refresh()
{
    readRows();
    readPhrase();
    readPlayback();
}

void PianoRollConnection::timerCallback()
{
    refresh();
}

void PianoRollConnection::readViewSettings()
{
    const auto settings = processor.getPianoRollSettings();
    const auto grid = settings.getProperty (gridSizeId, -1);
    pianoRoll.setGrid (tarn::GridSize::fromIdentifier (grid.isVoid() ? -1 : (int) grid));

    for (auto mode : { tarn::ValueEditorMode::velocity, tarn::ValueEditorMode::transpose, tarn::ValueEditorMode::octave })
        pianoRoll.setRangeMode (mode, (bool) settings.getProperty (rangeIdFor (mode), false));
}

void PianoRollConnection::readPhrase()
{
    const auto version = processor.getPhraseManager().getPhraseVersion (slot);

    if (version == shownVersion && ! phraseNeedsReading.exchange (false))
        return;

    shownVersion = version;
    const auto isAnotherPhrase = slot != shownSlot;
    shownSlot = slot;
    pianoRoll.setPhrase (processor.getPhrase (slot), isAnotherPhrase);
}

void PianoRollConnection::readRows()
{
    if (! rowsNeedReading.exchange (false))
        return;

    std::vector<tarn::PianoRollRow> rows;

    for (const auto& row : processor.getPhraseManager().getRows())
        rows.push_back ({ row.getLabel(), row.muted });

    pianoRoll.setRows (rows);
}

void PianoRollConnection::readPlayback()
{
    tarn::PlaybackSnapshot snapshot;
    const auto display = processor.getPlaybackDisplay();

    if (display.playingPhrase == slot && display.playheadTick >= 0.0)
    {
        snapshot.playheadTick = display.playheadTick;
        snapshot.isPlaying = true;
        snapshot.soundingRows = display.soundingRows;
        snapshot.knowsSoundingRows = true;
        restingTick = display.playheadTick;
    }
    else if (display.playingPhrase == slot)
    {
        // Like a host's cursor, the play head rests where the transport stopped.
        snapshot.playheadTick = restingTick;
        snapshot.knowsSoundingRows = true;
    }
    else
    {
        restingTick = -1.0;
    }

    pianoRoll.setPlayback (snapshot);
}

//==============================================================================
void PianoRollConnection::pianoRollPhraseEdited (const tarn::Sequence& edited)
{
    commands.editPhrase (slot, edited);
    readPhrase();
}

void PianoRollConnection::pianoRollUndoRequested()
{
    processor.getPhraseManager().undo();
    refresh();
}

void PianoRollConnection::pianoRollRedoRequested()
{
    processor.getPhraseManager().redo();
    refresh();
}

void PianoRollConnection::pianoRollGridChanged (const tarn::GridSize& grid)
{
    processor.setPianoRollSetting (gridSizeId, grid.identifier);
}

void PianoRollConnection::pianoRollRangeModeChanged (tarn::ValueEditorMode mode, bool isOn)
{
    processor.setPianoRollSetting (rangeIdFor (mode), isOn);
}

void PianoRollConnection::pianoRollLaneAddRequested()
{
    const auto& types = processor.getPhraseManager().getControllerTypes();

    // The first control change on channel 1 that no lane has yet, from the modulation wheel.
    for (int number = 1; number < 128; ++number)
    {
        const ControllerType candidate { tarn::ControllerLane::controlChange, number, 1, {} };
        const auto taken = std::any_of (types.begin(), types.end(), [&] (const ControllerType& t)
                                        { return t.hasSameKeyAs (candidate); });

        if (! taken)
        {
            commands.newController (candidate);
            break;
        }
    }

    refresh();
}

void PianoRollConnection::pianoRollLaneTypeChosen (int lane, int type, int number, int channel)
{
    const auto& types = processor.getPhraseManager().getControllerTypes();

    if (lane < 0 || lane >= (int) types.size())
        return;

    auto entry = types[(size_t) lane];
    entry.type = type;
    entry.number = type == tarn::ControllerLane::pitchBend ? -1 : number;
    entry.channel = channel;

    if (entry == types[(size_t) lane])
        return;

    if (! commands.changeController (lane, entry))
        pianoRoll.getLookAndFeel().playAlertSound(); // another lane has that controller already

    refresh();
}

void PianoRollConnection::pianoRollLaneDeleteRequested (int lane)
{
    commands.deleteController (lane);
    refresh();
}

void PianoRollConnection::pianoRollLaneRenamed (int lane, const juce::String& name)
{
    const auto& types = processor.getPhraseManager().getControllerTypes();

    if (lane < 0 || lane >= (int) types.size())
        return;

    auto entry = types[(size_t) lane];
    entry.name = name;
    commands.changeController (lane, entry);
    refresh();
}

void PianoRollConnection::pianoRollMidiLearnRequested (int channel, int controller, int value)
{
    processor.sendControllerPreview (channel, controller, value);
}
