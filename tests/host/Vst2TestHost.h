#pragma once

#include <pluginterfaces/vst2.x/aeffectx.h>

#include <array>
#include <cstring>
#include <dlfcn.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace cadenzium::test
{

/** One plug-in instance, driven like a host drives it. The host callback records every
    opcode the plug-in sends. */
class Vst2Plugin
{
public:
    ~Vst2Plugin()
    {
        if (aeffect == nullptr)
            return;

        dispatch (effMainsChanged, 0, 0);
        dispatch (effClose);
    }

    AEffect* effect() const noexcept { return aeffect; }

    t_fstPtrInt dispatch (int opcode, int index = 0, t_fstPtrInt value = 0, void* ptr = nullptr, float opt = 0.0f)
    {
        return aeffect->dispatcher (aeffect, opcode, index, value, ptr, opt);
    }

    std::string dispatchString (int opcode, int index = 0)
    {
        char buffer[257] {};
        dispatch (opcode, index, 0, buffer);
        return buffer;
    }

    float getParameter (int index) { return aeffect->getParameter (aeffect, index); }

    /** Sample rate and block size, then resume. */
    void start (double sampleRate, int blockSize)
    {
        dispatch (effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
        dispatch (effSetBlockSize, 0, blockSize);
        dispatch (effMainsChanged, 0, 1);
    }

    using Bytes = std::array<unsigned char, 3>;
    using TimedMessage = std::pair<int, Bytes>; // sample offset in the block, message

    /** Sends the three-byte messages at the block's start, then processes one block of
        stereo audio in place. */
    void processBlock (const std::vector<Bytes>& midi, std::vector<float>& left, std::vector<float>& right)
    {
        std::vector<TimedMessage> timed;
        for (const auto& message : midi)
            timed.emplace_back (0, message);
        processBlockAt (timed, left, right);
    }

    /** Sends the messages at their offsets, then processes one block of stereo audio in place. */
    void processBlockAt (const std::vector<TimedMessage>& midi, std::vector<float>& left, std::vector<float>& right)
    {
        std::vector<VstMidiEvent> midiEvents (midi.size());
        std::vector<char> eventsStorage (sizeof (VstEvents) + sizeof (VstEvent*) * midi.size(), 0);
        auto* events = reinterpret_cast<VstEvents*> (eventsStorage.data());
        events->numEvents = (int) midi.size();

        for (size_t i = 0; i < midi.size(); ++i)
        {
            midiEvents[i].type = kVstMidiType;
            midiEvents[i].byteSize = sizeof (VstMidiEvent);
            midiEvents[i].deltaFrames = midi[i].first;
            std::memcpy (midiEvents[i].midiData, midi[i].second.data(), 3);
            events->events[i] = reinterpret_cast<VstEvent*> (&midiEvents[i]);
        }

        dispatch (effProcessEvents, 0, 0, events);
        float* channels[2] = { left.data(), right.data() };
        aeffect->processReplacing (aeffect, channels, channels, (int) left.size());
    }

    std::vector<unsigned char> getChunk()
    {
        unsigned char* data = nullptr;
        const auto size = dispatch (effGetChunk, 0, 0, &data);
        return data != nullptr && size > 0 ? std::vector<unsigned char> (data, data + size) : std::vector<unsigned char>();
    }

    void setChunk (std::vector<unsigned char> data) { dispatch (effSetChunk, 0, (t_fstPtrInt) data.size(), data.data()); }

    /** The transport the host reports when asked (audioMasterGetTime); none by default. */
    std::optional<VstTimeInfo> transport;

    /** The MIDI the plug-in has sent the host so far, each at its offset in its block;
        taken by the call. [any thread] */
    std::vector<TimedMessage> takeOutput()
    {
        const std::lock_guard guard (lock);
        return std::exchange (output, {});
    }

    /** Host opcodes the plug-in has called so far. [any thread] */
    std::vector<int> hostOpcodesSeen() const
    {
        const std::lock_guard guard (lock);
        return opcodes;
    }

private:
    friend class Vst2Library;
    Vst2Plugin() = default;

    static t_fstPtrInt hostCallback (AEffect* effect, int opcode, int, t_fstPtrInt, void* ptr, float)
    {
        if (opcode == audioMasterVersion)
            return 2400;

        // Calls made while VSTPluginMain runs come before the instance is known.
        auto* plugin = effect != nullptr ? static_cast<Vst2Plugin*> (effect->user) : nullptr;

        if (plugin == nullptr)
            return 0;

        const std::lock_guard guard (plugin->lock);
        plugin->opcodes.push_back (opcode);

        if (opcode == audioMasterGetTime)
            return plugin->transport.has_value() ? (t_fstPtrInt) &*plugin->transport : 0;

        if (opcode == audioMasterProcessEvents && ptr != nullptr)
        {
            const auto* events = static_cast<const VstEvents*> (ptr);

            for (int i = 0; i < events->numEvents; ++i)
                if (const auto* event = reinterpret_cast<const VstMidiEvent*> (events->events[i]); event != nullptr && event->type == kVstMidiType)
                    plugin->output.push_back ({ event->deltaFrames, { (unsigned char) event->midiData[0], (unsigned char) event->midiData[1], (unsigned char) event->midiData[2] } });
        }

        return 0;
    }

    AEffect* aeffect = nullptr;
    mutable std::mutex lock;
    std::vector<int> opcodes;
    std::vector<TimedMessage> output;
};

/** Loads a VST2 plug-in library the way a host does: dlopen, then VSTPluginMain. */
class Vst2Library
{
public:
    explicit Vst2Library (const std::string& path)
    {
        if ((handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL)) == nullptr)
            error = dlerror();
        else if ((entry = reinterpret_cast<AEffect* (*) (audioMasterCallback)> (dlsym (handle, "VSTPluginMain"))) == nullptr)
            error = "no VSTPluginMain";
    }

    ~Vst2Library()
    {
        if (handle != nullptr)
            dlclose (handle);
    }

    bool isLoaded() const noexcept { return entry != nullptr; }
    bool hasSymbol (const char* name) const { return handle != nullptr && dlsym (handle, name) != nullptr; }
    const std::string& getError() const noexcept { return error; }

    /** A new instance (effOpen already sent), or nullptr. */
    std::unique_ptr<Vst2Plugin> createInstance()
    {
        if (! isLoaded())
            return {};

        std::unique_ptr<Vst2Plugin> plugin (new Vst2Plugin());
        plugin->aeffect = entry (&Vst2Plugin::hostCallback);

        if (plugin->aeffect == nullptr || plugin->aeffect->magic != kEffectMagic)
        {
            plugin->aeffect = nullptr;
            return {};
        }

        plugin->aeffect->user = plugin.get();
        plugin->dispatch (effOpen);
        return plugin;
    }

private:
    void* handle = nullptr;
    AEffect* (*entry) (audioMasterCallback) = nullptr;
    std::string error;
};

} // namespace cadenzium::test
