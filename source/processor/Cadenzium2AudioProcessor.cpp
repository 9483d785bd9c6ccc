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
    pipeline.setWithoutDawTransport (wrapperType == wrapperType_Standalone);
    initialiseState();

    for (int slot = 0; slot < numPhrases; ++slot)
        phraseManager.setSequence (slot, tarn::Sequence(), nullptr);

    // After the slots are filled: building the instance is not a change the host must hear of.
    phraseManager.addListener (this);
    phraseManager.getPlayer().addListener (this);

    // Last: the Initial Patch is the state as construction left it.
    captureInitialState();
}

Cadenzium2AudioProcessor::~Cadenzium2AudioProcessor()
{
    phraseManager.getPlayer().removeListener (this);
    phraseManager.removeListener (this);
    phraseManager.removeEditListener (this);
}

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
    phraseManager.prepare (sampleRate);
    pipeline.prepare (sampleRate, maximumExpectedSamplesPerBlock);
}

void Cadenzium2AudioProcessor::setNonRealtime (bool isNonRealtime) noexcept
{
    BrindlexProcessor::setNonRealtime (isNonRealtime);
    phraseManager.setNonRealtime (isNonRealtime);
}

void Cadenzium2AudioProcessor::processBlockInternal (juce::AudioBuffer<float>& audio, juce::MidiBuffer& midi)
{
    std::optional<juce::AudioPlayHead::PositionInfo> hostPosition;

    if (auto* head = getPlayHead())
        if (const auto position = head->getPosition())
            hostPosition = *position;

    pipeline.process (midi, audio.getNumSamples(), hostPosition, isBypassedByHost());
}

void Cadenzium2AudioProcessor::parameterChanged (const juce::String& parameterId, float newValue)
{
    const auto bits = ParameterChangeBits::forParameter (parameterId);

    if (bits != 0)
        requests.pendingParameterChanges.fetch_or (bits);

    // The other bound follows; its own change then finds the pair in order and stops there.
    // Looked up by StringRef: hosts automate from the audio thread, where no String is built.
    const auto moveOtherBound = [this, newValue] (juce::StringRef otherId, bool mustRaise)
    {
        auto* other = parameters.getParameter (otherId);
        const auto* otherValue = parameters.getRawParameterValue (otherId);

        if (other == nullptr || otherValue == nullptr)
            return;

        const auto current = otherValue->load();

        if (mustRaise ? newValue > current : newValue < current)
            other->setValueNotifyingHost (other->convertTo0to1 (newValue));
    };

    if (parameterId == ParameterIds::noteOutputRangeLow)
        moveOtherBound (ParameterIds::noteOutputRangeHigh, true);
    else if (parameterId == ParameterIds::noteOutputRangeHigh)
        moveOtherBound (ParameterIds::noteOutputRangeLow, false);
}

void Cadenzium2AudioProcessor::sequenceNumberChanged (tarn::SwitchableSequencePlayer& switchable)
{
    juce::ignoreUnused (switchable);
    juce::Logger::writeToLog ("Changing sequence number");
    audioThreadFollowUp.requestPing();
}

void Cadenzium2AudioProcessor::sequenceManagerChanged (int slot, void* source)
{
    juce::ignoreUnused (source);

    if (slot == getPlayingPhrase())
        requests.playbackRefresh.store (ProcessorRequests::playingPhraseChanged);

    juce::Logger::writeToLog ("Sequence manager changed a sequence");

    // Edits replace phrases with the state lock held: the host hears of it afterwards.
    if (! restoringHostState.load())
        stateChangePing.request();
}

void Cadenzium2AudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    restoringHostState.store (true);
    BrindlexProcessor::setStateInformation (data, sizeInBytes);
    restoringHostState.store (false);
}

void Cadenzium2AudioProcessor::flushAudioThreadNotices()
{
    audioThreadFollowUp.flush();
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

tarn::Sequence Cadenzium2AudioProcessor::getPhrase (int index) const
{
    return phraseManager.getSequence (juce::jlimit (0, numPhrases - 1, index));
}

std::shared_ptr<const tarn::Sequence> Cadenzium2AudioProcessor::getPhraseSnapshot (int index) const
{
    return phraseManager.getSequenceSnapshot (juce::jlimit (0, numPhrases - 1, index));
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
