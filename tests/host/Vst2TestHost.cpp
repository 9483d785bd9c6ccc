#include "Vst2TestHost.h"

#include <algorithm>
#include <cstring>
#include <dlfcn.h>

namespace cadenzium::test
{
namespace
{
    // The plug-in calls the host from inside VSTPluginMain, before it can be told which
    // instance it belongs to.
    thread_local Vst2Plugin* instanceBeingCreated = nullptr;
} // namespace

Vst2Library::Vst2Library (const std::string& path)
{
    handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (handle == nullptr)
    {
        const char* message = dlerror();
        error = message != nullptr ? message : "dlopen failed";
        return;
    }

    entry = reinterpret_cast<AEffect* (*) (audioMasterCallback)> (dlsym (handle, "VSTPluginMain"));

    if (entry == nullptr)
        error = "no VSTPluginMain";
}

Vst2Library::~Vst2Library()
{
    if (handle != nullptr)
        dlclose (handle);
}

bool Vst2Library::hasSymbol (const char* name) const
{
    return handle != nullptr && dlsym (handle, name) != nullptr;
}

std::unique_ptr<Vst2Plugin> Vst2Library::createInstance()
{
    if (! isLoaded())
        return {};

    std::unique_ptr<Vst2Plugin> plugin (new Vst2Plugin());
    instanceBeingCreated = plugin.get();
    plugin->aeffect = entry (&Vst2Plugin::hostCallback);
    instanceBeingCreated = nullptr;

    if (plugin->aeffect == nullptr || plugin->aeffect->magic != kEffectMagic)
        return {};

    plugin->aeffect->user = plugin.get();
    plugin->dispatch (effOpen);
    return plugin;
}

//==============================================================================
Vst2Plugin::~Vst2Plugin()
{
    if (aeffect != nullptr)
    {
        dispatch (effMainsChanged, 0, 0);
        dispatch (effClose);
    }
}

t_fstPtrInt Vst2Plugin::dispatch (int opcode, int index, t_fstPtrInt value, void* ptr, float opt)
{
    return aeffect->dispatcher (aeffect, opcode, index, value, ptr, opt);
}

std::string Vst2Plugin::dispatchString (int opcode, int index, size_t capacity)
{
    std::vector<char> buffer (capacity + 1, 0);
    dispatch (opcode, index, 0, buffer.data());
    return std::string (buffer.data());
}

bool Vst2Plugin::setParameterFromText (int index, const std::string& text)
{
    std::vector<char> buffer (text.begin(), text.end());
    buffer.push_back (0);
    return dispatch (effString2Parameter, index, 0, buffer.data()) != 0;
}

void Vst2Plugin::prepare (double sampleRate, int blockSize)
{
    currentSampleRate = sampleRate;
    currentBlockSize = blockSize;
    transport.sampleRate = sampleRate;
    dispatch (effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    dispatch (effSetBlockSize, 0, blockSize);
}

std::vector<MidiEvent> Vst2Plugin::processBlock (const std::vector<MidiEvent>& input, std::vector<float>& left, std::vector<float>& right)
{
    {
        const std::lock_guard<std::mutex> guard (lock);
        output.clear();
    }

    std::vector<VstMidiEvent> midiEvents (input.size());
    std::vector<char> eventsStorage (sizeof (VstEvents) + sizeof (VstEvent*) * (input.size() + 1), 0);
    auto* events = reinterpret_cast<VstEvents*> (eventsStorage.data());
    events->numEvents = (int) input.size();

    for (size_t i = 0; i < input.size(); ++i)
    {
        auto& e = midiEvents[i];
        std::memset (&e, 0, sizeof (e));
        e.type = kVstMidiType;
        e.byteSize = sizeof (VstMidiEvent);
        e.deltaFrames = input[i].sampleOffset;
        std::memcpy (e.midiData, input[i].bytes, 3);
        events->events[i] = reinterpret_cast<VstEvent*> (&e);
    }

    if (! input.empty())
        dispatch (effProcessEvents, 0, 0, events);

    float* channels[2] = { left.data(), right.data() };
    aeffect->processReplacing (aeffect, channels, channels, (int) left.size());

    const std::lock_guard<std::mutex> guard (lock);
    return output;
}

std::vector<unsigned char> Vst2Plugin::getChunk()
{
    void* data = nullptr;
    const auto size = dispatch (effGetChunk, 0, 0, &data);

    if (data == nullptr || size <= 0)
        return {};

    const auto* bytes = static_cast<const unsigned char*> (data);
    return std::vector<unsigned char> (bytes, bytes + size);
}

void Vst2Plugin::setChunk (const std::vector<unsigned char>& data)
{
    auto copy = data;
    dispatch (effSetChunk, 0, (t_fstPtrInt) copy.size(), copy.data());
}

t_fstPtrInt Vst2Plugin::hostCallback (AEffect* effect, int opcode, int index, t_fstPtrInt value, void* ptr, float)
{
    auto* plugin = effect != nullptr && effect->user != nullptr ? static_cast<Vst2Plugin*> (effect->user)
                                                                : instanceBeingCreated;

    if (opcode == audioMasterVersion)
        return 2400;
    return plugin != nullptr ? plugin->handleHostCall (opcode, index, value, ptr) : 0;
}

t_fstPtrInt Vst2Plugin::handleHostCall (int opcode, int, t_fstPtrInt, void* ptr)
{
    {
        const std::lock_guard<std::mutex> guard (lock);
        opcodes.push_back (opcode);
    }

    switch (opcode)
    {
        case audioMasterGetTime:
        {
            timeInfo = {};
            timeInfo.sampleRate = transport.sampleRate;
            timeInfo.samplePos = transport.samplePosition;
            timeInfo.ppqPos = transport.ppqPosition;
            timeInfo.tempo = transport.tempo;
            timeInfo.barStartPos = transport.barStart;
            timeInfo.cycleStartPos = transport.loopStart;
            timeInfo.cycleEndPos = transport.loopEnd;
            timeInfo.timeSigNumerator = transport.numerator;
            timeInfo.timeSigDenominator = transport.denominator;
            timeInfo.flags = kVstPpqPosValid | kVstTempoValid | kVstBarsValid | kVstTimeSigValid
                             | (transport.playing ? kVstTransportPlaying : 0)
                             | (transport.looping ? (kVstTransportCycleActive | kVstCyclePosValid) : 0);
            return (t_fstPtrInt) &timeInfo;
        }

        case audioMasterProcessEvents:
        {
            const auto* events = static_cast<const VstEvents*> (ptr);
            const std::lock_guard<std::mutex> guard (lock);

            for (int i = 0; i < events->numEvents; ++i)
            {
                const auto* event = events->events[i];

                if (event->type != kVstMidiType)
                    continue;

                const auto* midi = reinterpret_cast<const VstMidiEvent*> (event);
                MidiEvent e;
                e.sampleOffset = midi->deltaFrames;
                std::memcpy (e.bytes, midi->midiData, 3);
                output.push_back (e);
            }

            return 1;
        }

        case audioMasterGetSampleRate:
            return (t_fstPtrInt) currentSampleRate;
        case audioMasterGetBlockSize:
            return currentBlockSize;
        case audioMasterGetCurrentProcessLevel:
            return kVstProcessLevelRealtime;

        case audioMasterCanDo:
        {
            const std::string what (static_cast<const char*> (ptr));
            return what == "sendVstEvents" || what == "sendVstMidiEvent" || what == "receiveVstEvents" || what == "receiveVstMidiEvent" || what == "sendVstTimeInfo";
        }

        case audioMasterGetProductString:
            std::strcpy (static_cast<char*> (ptr), "Cadenzium Test Host");
            return 1;

        case audioMasterGetVendorString:
            std::strcpy (static_cast<char*> (ptr), "Cadenzium Tests");
            return 1;

        default:
            return 0;
    }
}

} // namespace cadenzium::test
