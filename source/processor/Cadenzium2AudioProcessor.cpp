#include "Cadenzium2AudioProcessor.h"

#include "ControllerPreview.h"
#include "ParameterChangeBits.h"
#include "Parameters.h"

#include <source/editor/Cadenzium2AudioProcessorEditor.h>

Cadenzium2AudioProcessor::Cadenzium2AudioProcessor()
    : BrindlexProcessor (BusesProperties()
                             .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                             .withOutput ("Output", juce::AudioChannelSet::stereo(), true),
                         productName,
                         Parameters::createLayout())
{
    parameters.state.setProperty ("version", versionString, nullptr);

    // The rows apply each note's pitch offset themselves, after choosing the pitch.
    phraseManager.setCarryPitchOffset (true);
    initialiseState();

    for (int slot = 0; slot < numPhrases; ++slot)
        phraseManager.setSequence (slot, tarn::Sequence(), nullptr);

    // Last: the Initial Patch is the state as construction left it.
    captureInitialState();
}

Cadenzium2AudioProcessor::~Cadenzium2AudioProcessor() = default;

bool Cadenzium2AudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    for (const auto& bus : layouts.inputBuses)
        if (bus.size() > 2)
            return false;

    for (const auto& bus : layouts.outputBuses)
        if (bus.size() > 2)
            return false;

    return true;
}

juce::AudioProcessorEditor* Cadenzium2AudioProcessor::createEditor()
{
    return new Cadenzium2AudioProcessorEditor (*this);
}

void Cadenzium2AudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    juce::ignoreUnused (maximumExpectedSamplesPerBlock);
    phraseManager.prepare (sampleRate);
}

void Cadenzium2AudioProcessor::setNonRealtime (bool isNonRealtime) noexcept
{
    BrindlexProcessor::setNonRealtime (isNonRealtime);
    phraseManager.setNonRealtime (isNonRealtime);
}

void Cadenzium2AudioProcessor::processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    // The audio passes through untouched; the phrase engine arrives with the sequence players.
    juce::ignoreUnused (audio, midi);
}

void Cadenzium2AudioProcessor::parameterChanged (const juce::String& parameterId, float newValue)
{
    juce::ignoreUnused (newValue);
    const auto bits = ParameterChangeBits::forParameter (parameterId);

    if (bits != 0)
        requests.pendingParameterChanges.fetch_or (bits);
}

void Cadenzium2AudioProcessor::pingInternalParameter()
{
    auto* parameter = parameters.getParameter (ParameterIds::internal);

    if (parameter == nullptr)
        return;

    const auto current = (double) getRawParameterValue (ParameterIds::internal);
    auto next = current + 0.001;

    if (next >= 1.0)
        next = 0.0;

    parameter->setValueNotifyingHost ((float) next);
    juce::Logger::writeToLog ("Pinging internal parameter: " + juce::String (next));
}

const tarn::Sequence& Cadenzium2AudioProcessor::getPhrase (int index) const
{
    return phraseManager.getSequence (juce::jlimit (0, numPhrases - 1, index));
}

void Cadenzium2AudioProcessor::requestPhrase (int index)
{
    requests.requestedPhraseIndex.store (juce::jlimit (0, numPhrases - 1, index));
}

int Cadenzium2AudioProcessor::getPlayingPhrase() const noexcept
{
    return phraseManager.getPlayer().getCurrentIndex();
}

void Cadenzium2AudioProcessor::sendControllerPreview (int channel, int controller, int value)
{
    if (const auto word = ControllerPreview::pack (channel - 1, controller, value); word != 0)
        requests.controllerPreview.store (word);
}

void Cadenzium2AudioProcessor::setKeySignature (const KeySignature& key)
{
    if (keySignature.store (key))
        requests.playbackRefresh.store (ProcessorRequests::keyChanged);
}
