#include "CadenziumRenderer.h"

#include "ChordProgressionFile.h"

#include <source/processor/Cadenzium2AudioProcessor.h>
#include <tarn/processor/NoteTable.h>

namespace
{
using Rendered = CadenziumRenderer::RenderedMidi;

/** Counts of sounding notes per channel and pitch, so the file never ends with one hanging. */
class SoundingNotes
{
public:
    void update (const juce::MidiMessage& m) noexcept
    {
        if (! m.isNoteOnOrOff() || m.getNoteNumber() > 127)
            return;

        auto& count = counts.at (m.getChannel() - 1, m.getNoteNumber());

        if (m.isNoteOn())
            ++count;
        else if (count > 0)
            --count;
    }

    void endAll (juce::MidiMessageSequence& sequence, double time)
    {
        counts.forEach ([&sequence, time] (int channelIndex, int note, int count)
                        {
                            for (int i = 0; i < count; ++i)
                                sequence.addEvent (juce::MidiMessage::noteOff (channelIndex + 1, note, (juce::uint8) 0), time); });
    }

private:
    tarn::NoteTable<int> counts;
};

bool writeMidiFile (const juce::MidiMessageSequence& events, juce::MemoryBlock& bytes)
{
    juce::MidiFile file;
    file.setTicksPerQuarterNote (960);
    file.addTrack (events);

    juce::MemoryOutputStream out (bytes, false);
    const bool written = file.writeTo (out, 1);
    out.flush();
    return written && bytes.getSize() > 0;
}
} // namespace

CadenziumRenderer::CadenziumRenderer()
    : juce::Thread ("Cadenzium MIDI renderer")
{
}

CadenziumRenderer::~CadenziumRenderer()
{
    stopThread (10000);
    cancelPendingUpdate();
}

juce::Result CadenziumRenderer::start (Cadenzium2AudioProcessor& live, int editedPhrase, const juce::File& file, Completion onComplete)
{
    // Checked before anything is built: the running render still uses its private processor.
    // A render whose thread has ended still counts until its completion has run, or that
    // completion would wait for the next render and hand its result to the wrong callback.
    if (isRendering() || isThreadRunning())
        return juce::Result::fail (alreadyRenderingMessage);

    auto copy = std::make_unique<Cadenzium2AudioProcessor>();
    // Offline before the state arrives: a restore in real time leaves next passes to the
    // render worker, whose draws would then come in no fixed order and a seed could not
    // replay the render.
    copy->setNonRealtime (true);
    juce::MemoryBlock state;
    live.getStateInformation (state);
    copy->setStateInformation (state.getData(), (int) state.getSize());

    privateProcessor = std::move (copy);
    chordFile = file;
    phraseIndex = editedPhrase;
    completion = std::move (onComplete);

    if (! startThread())
    {
        completion = nullptr;
        privateProcessor.reset();
        return juce::Result::fail (alreadyRenderingMessage);
    }

    return juce::Result::ok();
}

void CadenziumRenderer::cancel()
{
    stopThread (10000);
    cancelPendingUpdate();
    completion = nullptr;
    privateProcessor.reset();
}

void CadenziumRenderer::run()
{
    auto rendered = std::make_unique<RenderedMidi>();
    const auto result = privateProcessor != nullptr
                            ? render (*privateProcessor, phraseIndex, chordFile, *rendered, [this]
                                      { return threadShouldExit(); })
                            : juce::Result::fail (notInitialisedMessage);

    if (threadShouldExit())
        return;

    {
        const std::lock_guard<std::mutex> guard (resultLock);
        lastResult = result;
        lastRendered = result.wasOk() ? std::move (rendered) : nullptr;
    }

    triggerAsyncUpdate();
}

void CadenziumRenderer::handleAsyncUpdate()
{
    waitForThreadToExit (-1);

    juce::Result result = juce::Result::ok();
    std::unique_ptr<RenderedMidi> rendered;

    {
        const std::lock_guard<std::mutex> guard (resultLock);
        result = lastResult;
        rendered = std::move (lastRendered);
    }

    // The processor goes before the callback runs: a callback that starts the next render
    // must not have that render's processor deleted under it.
    privateProcessor.reset();
    auto callback = std::move (completion);
    completion = nullptr;

    if (callback)
        callback (result, std::move (rendered));
}

juce::Result CadenziumRenderer::render (Cadenzium2AudioProcessor& processor, int editedPhrase, const juce::File& file, RenderedMidi& result, const std::function<bool()>& shouldExit)
{
    ChordProgression chords;

    if (const auto read = ChordProgressionFile::read (file, chords); read.failed())
        return read;

    constexpr auto ticksPerSample = CadenziumRendererPlayhead::ticksPerSample;
    constexpr auto blockSize = CadenziumRendererPlayhead::blockSize;

    const auto length = getRenderLength (processor.getPhrase (editedPhrase).getLength(), chords.getLastEventTime());
    const auto endTicks = length.ticks;
    const auto totalSamples = length.samples;

    CadenziumRendererPlayhead playHead;
    processor.setPlayHead (&playHead);
    processor.setNonRealtime (true);
    processor.prepareToPlay (CadenziumRendererPlayhead::sampleRate, blockSize);

    SoundingNotes sounding;
    juce::MidiMessageSequence output;
    juce::AudioBuffer<float> audio (1, blockSize);
    juce::MidiBuffer midi;
    int nextChordEvent = 0;

    const auto finish = [&processor]
    {
        processor.releaseResources();
        processor.setPlayHead (nullptr);
    };

    for (juce::int64 start = 0; start < totalSamples; start += blockSize)
    {
        if (shouldExit && shouldExit())
        {
            finish();
            return juce::Result::fail (cancelledMessage);
        }

        const auto numSamples = (int) std::min ((juce::int64) blockSize, totalSamples - start);
        audio.setSize (1, numSamples, false, false, true);
        audio.clear();
        midi.clear();

        while (nextChordEvent < chords.events.getNumEvents())
        {
            const auto& message = chords.events.getEventPointer (nextChordEvent)->message;
            const auto position = (juce::int64) std::llround (message.getTimeStamp() / ticksPerSample);

            if (position >= start + numSamples)
                break;

            midi.addEvent (message, (int) std::max ((juce::int64) 0, position - start));
            ++nextChordEvent;
        }

        processor.processBlock (audio, midi);

        for (const auto metadata : midi)
        {
            auto message = metadata.getMessage();
            message.setTimeStamp ((double) (metadata.samplePosition + start) * ticksPerSample);
            sounding.update (message);
            output.addEvent (message);
        }

        playHead.advance (numSamples);
    }

    finish();

    sounding.endAll (output, endTicks);
    output.addEvent (juce::MidiMessage::endOfTrack(), endTicks);
    output.sort();
    output.updateMatchedPairs();

    RenderedMidi rendered;

    if (! writeMidiFile (output, rendered.fileData))
        return juce::Result::fail (cannotCreateMessage);

    rendered.events = std::move (output);
    result = std::move (rendered);
    return juce::Result::ok();
}

CadenziumRenderer::RenderLength CadenziumRenderer::getRenderLength (int phraseLengthTicks, double lastChordEventTicks) noexcept
{
    RenderLength length;
    length.ticks = (double) std::max (3840, phraseLengthTicks) + lastChordEventTicks;
    length.samples = (juce::int64) std::ceil (length.ticks / CadenziumRendererPlayhead::ticksPerSample);

    // The quotient can come out a hair above a whole number (19200 ticks gives
    // 441000.00000000006): one sample more would start exactly at L, where a phrase pass
    // restarts, and the file would end with notes that begin as it ends.
    while (length.samples > 0 && (double) (length.samples - 1) * CadenziumRendererPlayhead::ticksPerSample >= length.ticks)
        --length.samples;

    return length;
}

juce::File CadenziumRenderer::getDefaultOutputFile (const juce::File& chordFile)
{
    return chordFile.getParentDirectory().getNonexistentChildFile (chordFile.getFileNameWithoutExtension() + " - Cadenzium",
                                                                   ".mid",
                                                                   false);
}

juce::Result CadenziumRenderer::saveTo (const RenderedMidi* rendered, const juce::File& target)
{
    if (rendered == nullptr || rendered->fileData.isEmpty())
        return juce::Result::fail (noDataToSaveMessage);

    // Written beside the target and moved over it, so a failed write never destroys a file.
    juce::TemporaryFile temporary (target);

    if (! temporary.getFile().replaceWithData (rendered->fileData.getData(), rendered->fileData.getSize())
        || ! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail (cannotWriteMessage);

    return juce::Result::ok();
}

juce::Result CadenziumRenderer::writeDragFile (const RenderedMidi& rendered, const juce::File& folder, juce::File& written)
{
    folder.createDirectory();
    written = folder.getNonexistentChildFile (dragFileName, ".mid", false);
    return saveTo (&rendered, written);
}
