#include "MidiPatternImport.h"

#include "ChordProgressionFile.h"

#include <brindlex/BrindlexLogger.h>
#include <tarn/processor/NoteTable.h>

#include <set>

namespace MidiPatternImport
{
namespace
{
    void logEvents (const juce::MidiFile& midi)
    {
        juce::StringArray lines;

        for (int t = 0; t < midi.getNumTracks(); ++t)
            for (const auto* holder : *midi.getTrack (t))
                lines.add (juce::String (juce::roundToInt (holder->message.getTimeStamp())) + " - "
                           + holder->message.getDescription());

        brindlex::BrindlexLogger::writeLinesToLog (lines);
    }

    int toTicks (double fileTime, float scale)
    {
        const auto ticks = fileTime * (double) scale;
        return (int) juce::jlimit (0.0, (double) std::numeric_limits<int>::max(), ticks);
    }
} // namespace

int barTicksForTimeSignature (const juce::MidiMessage& message, int& numerator, int& denominator)
{
    if (! message.isTimeSignatureMetaEvent() || message.getMetaEventLength() < 2)
        return 0;

    const auto* data = message.getMetaEventData();
    const int n = data[0];
    const int exponent = data[1];

    if (n < 1 || n > 64 || exponent > 6)
        return 0;

    numerator = n;
    denominator = 1 << exponent;
    return std::max (1, juce::roundToInt (4.0f / (float) denominator * 960.0f * (float) n));
}

juce::Result importFile (const juce::File& file, const std::vector<tarn::ControllerLane>& emptyLanes, ImportedPattern& result)
{
    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return juce::Result::fail (noUsableNotesMessage);

    return importStream (stream, file.getFullPathName(), emptyLanes, result);
}

juce::Result importStream (juce::InputStream& stream, const juce::String& pathForLog, const std::vector<tarn::ControllerLane>& emptyLanes, ImportedPattern& result)
{
    if (stream.getTotalLength() > ChordProgressionFile::maxFileBytes)
        return juce::Result::fail (noUsableNotesMessage);

    juce::MidiFile midi;

    // Without matching note-offs made up by the reader, a note-on that never ends is seen as such.
    if (! midi.readFrom (stream, false) || midi.getNumTracks() == 0 || midi.getTimeFormat() <= 0
        || midi.getTrack (0)->getNumEvents() == 0)
        return juce::Result::fail (noUsableNotesMessage);

    logEvents (midi);

    const auto scale = 960.0f / (float) midi.getTimeFormat();
    tarn::Sequence sequence;
    juce::StringArray skipped;

    const auto addNote = [&sequence, scale] (const juce::MidiMessage& on, double offTime)
    {
        tarn::SequenceNote note;
        note.number = on.getNoteNumber();
        note.timestamp = toTicks (on.getTimeStamp(), scale);
        note.length = toTicks (offTime - on.getTimeStamp(), scale);
        note.velocityMin = note.velocityMax = on.getVelocity();
        note.channel = on.getChannel();

        // Notes beyond the longest phrase could never be played.
        if (note.timestamp >= tarn::Sequence::maxLength)
            return;

        note.length = std::min (note.length, tarn::Sequence::maxLength - note.timestamp);
        sequence.notes.push_back (note);
    };

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        // The note-on still open on each channel and pitch. A new strike of an open pitch
        // ends it, as MIDI readers pair notes. One pass: searching ahead for each note-off
        // takes minutes on a file of many strikes that are never released.
        tarn::NoteTable<const juce::MidiMessage*> open;

        for (const auto* holder : *midi.getTrack (t))
        {
            const auto& m = holder->message;

            if (! ChordProgressionFile::isUsableNoteEvent (m))
                continue;

            auto& sounding = open.at (m.getChannel() - 1, m.getNoteNumber());

            if (sounding != nullptr)
                addNote (*sounding, m.getTimeStamp());

            sounding = m.isNoteOn() ? &m : nullptr;
        }

        open.forEach ([&skipped, &pathForLog] (int, int, const juce::MidiMessage* unended)
                      {
                          if (unended != nullptr)
                          {
                              skipped.add ("Error reading note in file " + pathForLog);
                              skipped.add ("No note-off message for the note-on:");
                          } });
    }

    if (! skipped.isEmpty())
        brindlex::BrindlexLogger::writeLinesToLog (skipped);

    // Notes without length are kept, as written: they never sound, but they show where the
    // file strikes and take their rows.
    if (sequence.notes.empty())
        return juce::Result::fail (noUsableNotesMessage);

    sequence.normalise();

    int bar = tarn::Ticks::perWhole;

    for (int t = 0; t < midi.getNumTracks(); ++t)
    {
        bool found = false;

        for (const auto* holder : *midi.getTrack (t))
        {
            int numerator = 4, denominator = 4;

            if (holder->message.isTimeSignatureMetaEvent())
            {
                found = true;

                if (const auto ticks = barTicksForTimeSignature (holder->message, numerator, denominator); ticks > 0)
                {
                    bar = ticks;
                    sequence.timeSignatureNumerator = numerator;
                    sequence.timeSignatureDenominator = denominator;
                }

                break;
            }
        }

        if (found)
            break;
    }

    // Notes only of no length at the very start still make a phrase: one bar.
    const auto end = std::max ((juce::int64) 1, (juce::int64) sequence.getContentEnd());
    const auto bars = (end + bar - 1) / bar;
    sequence.setLength ((int) std::min ((juce::int64) tarn::Sequence::maxLength, bars * bar));
    sequence.lanes = emptyLanes;

    for (auto& lane : sequence.lanes)
        lane.points.clear();

    std::set<int> pitches;

    for (const auto& note : sequence.notes)
        pitches.insert (note.number);

    const std::vector<int> rows (pitches.begin(), pitches.end());

    for (auto& note : sequence.notes)
        note.number = (int) (std::lower_bound (rows.begin(), rows.end(), note.number) - rows.begin());

    sequence.normalise();
    result.sequence = std::move (sequence);
    result.rowsUsed = (int) rows.size();
    return juce::Result::ok();
}

} // namespace MidiPatternImport
