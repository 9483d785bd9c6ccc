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

JackMidiPorts::JackMidiPorts (const juce::String& clientName, const juce::StringArray& sources, const juce::StringArray& destinations)
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
    jack_set_process_callback (client, processCallback, this);
    jack_on_shutdown (client, shutdownCallback, this);

    if (input == nullptr || output == nullptr || jack_activate (client) != 0)
    {
        jack_client_close (client);
        client = nullptr;
        return;
    }

    active.store (true);

    for (auto& source : sources)
        if (jack_connect (client, source.toRawUTF8(), jack_port_name (input)) != 0)
            juce::Logger::writeToLog ("Cannot connect JACK port " + source + " to " + getInputPortName());

    for (auto& destination : destinations)
        if (jack_connect (client, jack_port_name (output), destination.toRawUTF8()) != 0)
            juce::Logger::writeToLog ("Cannot connect " + getOutputPortName() + " to JACK port " + destination);
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

juce::String JackMidiPorts::getInputPortName() const
{
    return input != nullptr ? juce::String::fromUTF8 (jack_port_name (input)) : juce::String();
}

juce::String JackMidiPorts::getOutputPortName() const
{
    return output != nullptr ? juce::String::fromUTF8 (jack_port_name (output)) : juce::String();
}

void JackMidiPorts::takeInput (juce::MidiBuffer& midi, int numSamples) noexcept
{
    const auto last = std::max (0, numSamples - 1);

    arrived.popAll ([&] (const ShortMessage& message)
                    { midi.addEvent (message.bytes.data(), message.size, std::clamp (message.offset, 0, last)); });
}

void JackMidiPorts::sendOutput (const juce::MidiBuffer& midi) noexcept
{
    if (! isActive())
        return;

    for (const auto metadata : midi)
    {
        if (metadata.numBytes < 1 || metadata.numBytes > 3)
            continue;

        ShortMessage message { metadata.samplePosition, metadata.numBytes, {} };
        std::copy_n (metadata.data, metadata.numBytes, message.bytes.begin());
        toSend.push (message);
    }
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
    const auto count = jack_midi_get_event_count (inputBuffer);

    for (uint32_t i = 0; i < count; ++i)
    {
        jack_midi_event_t event {};

        if (jack_midi_event_get (&event, inputBuffer, i) != 0 || event.size < 1 || event.size > 3)
            continue;

        ShortMessage message { (int) event.time, (int) event.size, {} };
        std::copy_n (event.buffer, event.size, message.bytes.begin());
        arrived.push (message);
    }

    auto* outputBuffer = jack_port_get_buffer (output, numFrames);
    jack_midi_clear_buffer (outputBuffer);

    // JACK wants the events of a period in time order, inside the period.
    jack_nframes_t time = 0;
    const auto lastFrame = numFrames > 0 ? numFrames - 1 : 0;

    toSend.popAll ([&] (const ShortMessage& message)
                   {
                       time = std::clamp ((jack_nframes_t) std::max (0, message.offset), time, lastFrame);
                       jack_midi_event_write (outputBuffer, time, message.bytes.data(), (size_t) message.size); });
    return 0;
}
