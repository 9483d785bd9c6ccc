#include "Vst2TestHost.h"

#include <cstring>
#include <dlfcn.h>

namespace cadenzium::test
{

Vst2Library::Vst2Library (const std::string& path)
{
    handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (handle == nullptr)
        error = dlerror();
    else if ((entry = reinterpret_cast<AEffect* (*) (audioMasterCallback)> (dlsym (handle, "VSTPluginMain"))) == nullptr)
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
    plugin->aeffect = entry (&Vst2Plugin::hostCallback);

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

std::string Vst2Plugin::dispatchString (int opcode, int index)
{
    std::vector<char> buffer (257, 0);
    dispatch (opcode, index, 0, buffer.data());
    return buffer.data();
}

void Vst2Plugin::start (double sampleRate, int blockSize)
{
    dispatch (effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    dispatch (effSetBlockSize, 0, blockSize);
    dispatch (effMainsChanged, 0, 1);
}

void Vst2Plugin::processBlock (const std::vector<std::array<unsigned char, 3>>& midi, std::vector<float>& left, std::vector<float>& right)
{
    std::vector<VstMidiEvent> midiEvents (midi.size());
    std::vector<char> eventsStorage (sizeof (VstEvents) + sizeof (VstEvent*) * midi.size(), 0);
    auto* events = reinterpret_cast<VstEvents*> (eventsStorage.data());
    events->numEvents = (int) midi.size();

    for (size_t i = 0; i < midi.size(); ++i)
    {
        midiEvents[i] = {};
        midiEvents[i].type = kVstMidiType;
        midiEvents[i].byteSize = sizeof (VstMidiEvent);
        std::memcpy (midiEvents[i].midiData, midi[i].data(), 3);
        events->events[i] = reinterpret_cast<VstEvent*> (&midiEvents[i]);
    }

    dispatch (effProcessEvents, 0, 0, events);
    float* channels[2] = { left.data(), right.data() };
    aeffect->processReplacing (aeffect, channels, channels, (int) left.size());
}

std::vector<unsigned char> Vst2Plugin::getChunk()
{
    void* data = nullptr;
    const auto size = dispatch (effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const unsigned char*> (data);
    return bytes != nullptr && size > 0 ? std::vector<unsigned char> (bytes, bytes + size) : std::vector<unsigned char>();
}

void Vst2Plugin::setChunk (std::vector<unsigned char> data)
{
    dispatch (effSetChunk, 0, (t_fstPtrInt) data.size(), data.data());
}

std::vector<int> Vst2Plugin::hostOpcodesSeen() const
{
    const std::lock_guard guard (lock);
    return opcodes;
}

t_fstPtrInt Vst2Plugin::hostCallback (AEffect* effect, int opcode, int, t_fstPtrInt, void*, float)
{
    if (opcode == audioMasterVersion)
        return 2400;

    // Calls made while VSTPluginMain runs come before the instance is known.
    if (auto* plugin = effect != nullptr ? static_cast<Vst2Plugin*> (effect->user) : nullptr)
    {
        const std::lock_guard guard (plugin->lock);
        plugin->opcodes.push_back (opcode);
    }

    return 0;
}

} // namespace cadenzium::test
