#pragma once

#include "CadenziumRendererPlayhead.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_events/juce_events.h>

#include <functional>
#include <mutex>

class Cadenzium2AudioProcessor;

/** Renders the current pattern over a chord progression: the chord file is played through a
    private copy of the plug-in, exactly as a host would, and everything it puts out becomes a
    standard MIDI file. The live processor is never touched. */
class CadenziumRenderer : private juce::Thread
    , private juce::AsyncUpdater
{
public:
    /** What a render produced: the events in ticks (960 per quarter note) and the bytes of
        the finished type-1 MIDI file. */
    struct RenderedMidi
    {
        juce::MidiMessageSequence events;
        juce::MemoryBlock fileData;
    };

    using Completion = std::function<void (juce::Result, std::unique_ptr<RenderedMidi>)>;

    static constexpr const char* alreadyRenderingMessage = "Another MIDI file is already being rendered.";
    static constexpr const char* notInitialisedMessage = "The renderer was not initialised.";
    static constexpr const char* cancelledMessage = "The MIDI render was cancelled.";
    static constexpr const char* cannotCreateMessage = "The rendered MIDI data could not be created.";
    static constexpr const char* noDataToSaveMessage = "There is no rendered MIDI data to save.";
    static constexpr const char* cannotWriteMessage = "The rendered MIDI file could not be written.";
    static constexpr const char* dragFileName = "Cadenzium 2 Render";

    CadenziumRenderer();
    ~CadenziumRenderer() override;

    /** Starts a render on the background thread with a private processor made from the live
        one's state. Fails with alreadyRenderingMessage, and builds nothing, while a render is
        still running or its completion has not run yet. The completion runs on the message
        thread. [message thread] */
    juce::Result start (Cadenzium2AudioProcessor& live, int editedPhrase, const juce::File& chordFile, Completion onComplete);

    /** From a successful start until its completion has run or it was cancelled. [message thread] */
    bool isRendering() const noexcept { return privateProcessor != nullptr; }

    /** Stops a running render; its result is not posted. [message thread] */
    void cancel();

    /** The whole render on the calling thread: the same work the background render does,
        for tools that have no message loop. `shouldExit` is polled between blocks.
        [any thread that owns the processor: nothing else may use it meanwhile] */
    static juce::Result render (Cadenzium2AudioProcessor& processor, int editedPhrase, const juce::File& chordFile, RenderedMidi& result, const std::function<bool()>& shouldExit = {});

    /** How long a render runs: L ticks, the longer of one bar and the edited phrase, plus the
        time of the last chord event; N samples of the fixed render clock cover L, and the
        last of them starts before L. [any thread] */
    struct RenderLength
    {
        double ticks = 0.0;
        juce::int64 samples = 0;
    };

    static RenderLength getRenderLength (int phraseLengthTicks, double lastChordEventTicks) noexcept;

    /** In the chord file's folder, its name followed by " - Cadenzium.mid", or the next free
        name like it. [any thread] */
    static juce::File getDefaultOutputFile (const juce::File& chordFile);

    /** Writes the rendered file to the chosen place, atomically: a failed write leaves an
        existing file as it was. Fails with noDataToSaveMessage or cannotWriteMessage. [any thread] */
    static juce::Result saveTo (const RenderedMidi* rendered, const juce::File& target);

    /** Writes "Cadenzium 2 Render.mid" (or the next free name) into the folder, for a drag
        into the host. [any thread] */
    static juce::Result writeDragFile (const RenderedMidi& rendered, const juce::File& folder, juce::File& written);

private:
    void run() override;
    void handleAsyncUpdate() override;

    std::unique_ptr<Cadenzium2AudioProcessor> privateProcessor;
    juce::File chordFile;
    int phraseIndex = 0;
    Completion completion;

    std::mutex resultLock;
    juce::Result lastResult { juce::Result::ok() };
    std::unique_ptr<RenderedMidi> lastRendered;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CadenziumRenderer)
};
