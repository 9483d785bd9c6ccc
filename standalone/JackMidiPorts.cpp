#include "JackMidiPorts.h"

#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>

bool JackMidiPorts::MessageQueue::push (const ShortMessage& message) noexcept
{
    const auto scope = fifo.write (1);

    if (scope.blockSize1 > 0)
        slots[(size_t) scope.startIndex1] = message;
    else if (scope.blockSize2 > 0)
        slots[(size_t) scope.startIndex2] = message;
    else
        return false;

    return true;
}

JackMidiPorts::JackMidiPorts (const juce::String& clientName, Player& playerToUse)
    : player (playerToUse)
{
    // Without a server, libjack would print its connection attempts on every start.
    jack_set_error_function ([] (const char*) {});
    jack_set_info_function ([] (const char*) {});

    jack_status_t status {};
    client = jack_client_open (clientName.toRawUTF8(), JackNoStartServer, &status);

    if (client == nullptr)
        return;

    input = jack_port_register (client, "midi_in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    output = jack_port_register (client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);

    if (input == nullptr || output == nullptr)
    {
        jack_client_close (client);
        client = nullptr;
        return;
    }

    sampleRate = (double) jack_get_sample_rate (client);
    midi.ensureSize ((size_t) maxMidiBytesPerPeriod);
    jack_set_process_callback (client, processCallback, this);
    jack_on_shutdown (client, shutdownCallback, this);
}

JackMidiPorts::~JackMidiPorts()
{
    if (client != nullptr)
    {
        active.store (false);
        jack_deactivate (client);
        jack_client_close (client);
    }
}

void JackMidiPorts::activate (const juce::StringArray& sources, const juce::StringArray& destinations)
{
    if (client == nullptr || active.load() || jack_activate (client) != 0)
        return;

    active.store (true);

    for (auto& source : sources)
        if (jack_connect (client, source.toRawUTF8(), jack_port_name (input)) != 0)
            juce::Logger::writeToLog ("Cannot connect JACK port " + source + " to " + getInputPortName());

    for (auto& destination : destinations)
        if (jack_connect (client, jack_port_name (output), destination.toRawUTF8()) != 0)
            juce::Logger::writeToLog ("Cannot connect " + getOutputPortName() + " to JACK port " + destination);
}

int JackMidiPorts::getBufferSize() const noexcept
{
    return client != nullptr ? (int) jack_get_buffer_size (client) : 0;
}

std::optional<juce::uint32> JackMidiPorts::getFirstPlayedFrame() const noexcept
{
    const auto frame = firstPlayedFrame.load();
    return frame >= 0 ? std::optional ((juce::uint32) frame) : std::nullopt;
}

std::optional<juce::uint32> JackMidiPorts::getFirstMissedFrame() const noexcept
{
    const auto frame = firstMissedFrame.load();
    return frame >= 0 ? std::optional ((juce::uint32) frame) : std::nullopt;
}

juce::String JackMidiPorts::getInputPortName() const
{
    return input != nullptr ? juce::String::fromUTF8 (jack_port_name (input)) : juce::String();
}

juce::String JackMidiPorts::getOutputPortName() const
{
    return output != nullptr ? juce::String::fromUTF8 (jack_port_name (output)) : juce::String();
}

int JackMidiPorts::processCallback (unsigned int numFrames, void* self)
{
    return static_cast<JackMidiPorts*> (self)->process (numFrames);
}

void JackMidiPorts::shutdownCallback (void* self)
{
    static_cast<JackMidiPorts*> (self)->active.store (false);
}

int JackMidiPorts::process (unsigned int numFrames) noexcept
{
    auto* inputBuffer = jack_port_get_buffer (input, numFrames);
    auto* outputBuffer = jack_port_get_buffer (output, numFrames);
    jack_midi_clear_buffer (outputBuffer);

    if (! active.load())
        return 0;

    const auto frame = (juce::int64) jack_last_frame_time (client);

    if (firstPlayedFrame.load() < 0)
        firstPlayedFrame.store (frame);

    // JACK's frame counter wraps around after about a day at 48 kHz: only the low 32 bits compare.
    if (nextFrame >= 0 && (juce::uint32) frame != (juce::uint32) nextFrame)
    {
        missedFrames.fetch_add ((juce::int64) (juce::uint32) ((juce::uint32) frame - (juce::uint32) nextFrame));

        if (firstMissedFrame.load() < 0)
            firstMissedFrame.store (nextFrame);
    }

    nextFrame = frame + numFrames;

    midi.clear();
    int bytes = 0;
    const auto count = jack_midi_get_event_count (inputBuffer);

    for (uint32_t i = 0; i < count; ++i)
    {
        jack_midi_event_t event {};

        // The buffer was sized once; a flood beyond it is dropped rather than allocated for.
        if (jack_midi_event_get (&event, inputBuffer, i) != 0 || event.size < 1 || (bytes += (int) event.size + 16) > maxMidiBytesPerPeriod)
            continue;

        midi.addEvent (event.buffer, (int) event.size, (int) event.time);
    }

    player.playJackPeriod (midi, (int) numFrames);

    // JACK wants the events of a period in time order, inside the period.
    jack_nframes_t time = 0;
    const auto lastFrame = numFrames > 0 ? numFrames - 1 : 0;

    for (const auto metadata : midi)
    {
        time = std::clamp ((jack_nframes_t) std::max (0, metadata.samplePosition), time, lastFrame);
        jack_midi_event_write (outputBuffer, time, metadata.data, (size_t) metadata.numBytes);
    }

    return 0;
}
