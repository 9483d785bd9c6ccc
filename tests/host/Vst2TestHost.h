#pragma once

#include <pluginterfaces/vst2.x/aeffectx.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace cadenzium::test
{

/** A three-byte MIDI message at a sample offset of a block. */
struct MidiEvent
{
    int sampleOffset = 0;
    unsigned char bytes[3] {};

    int channel() const noexcept { return (bytes[0] & 0x0f) + 1; }
    bool isNoteOn() const noexcept { return (bytes[0] & 0xf0) == 0x90 && bytes[2] > 0; }
    bool isNoteOff() const noexcept { return (bytes[0] & 0xf0) == 0x80 || ((bytes[0] & 0xf0) == 0x90 && bytes[2] == 0); }
};

/** The transport a host reports through audioMasterGetTime. */
struct HostTransport
{
    bool playing = false;
    double sampleRate = 48000.0;
    double samplePosition = 0.0;
    double ppqPosition = 0.0;
    double tempo = 120.0;
    double barStart = 0.0;
    int numerator = 4;
    int denominator = 4;
    bool looping = false;
    double loopStart = 0.0, loopEnd = 0.0;
};

class Vst2Plugin;

/** Loads a VST2 plug-in library the way a host does: dlopen, then VSTPluginMain. */
class Vst2Library
{
public:
    explicit Vst2Library (const std::string& path);
    ~Vst2Library();

    bool isLoaded() const noexcept { return handle != nullptr && entry != nullptr; }
    bool hasSymbol (const char* name) const;
    const std::string& getError() const noexcept { return error; }

    /** A new instance (effOpen already sent), or nullptr. */
    std::unique_ptr<Vst2Plugin> createInstance();

private:
    void* handle = nullptr;
    AEffect* (*entry) (audioMasterCallback) = nullptr;
    std::string error;
};

/** One plug-in instance, driven like a host drives it. The host callback records every
    opcode the plug-in sends and the MIDI it outputs. */
class Vst2Plugin
{
public:
    ~Vst2Plugin();

    AEffect* effect() const noexcept { return aeffect; }

    t_fstPtrInt dispatch (int opcode, int index = 0, t_fstPtrInt value = 0, void* ptr = nullptr, float opt = 0.0f);
    std::string dispatchString (int opcode, int index = 0, size_t capacity = 256);

    std::string parameterName (int index) { return dispatchString (effGetParamName, index); }
    std::string parameterDisplay (int index) { return dispatchString (effGetParamDisplay, index); }
    float getParameter (int index) { return aeffect->getParameter (aeffect, index); }

    /** effString2Parameter: what a host's generic editor does with a typed text. */
    bool setParameterFromText (int index, const std::string& text);

    void prepare (double sampleRate, int blockSize);
    void resume() { dispatch (effMainsChanged, 0, 1); }
    void suspend() { dispatch (effMainsChanged, 0, 0); }

    /** Sends the events, then processes one block of stereo audio in place. Returns the
        MIDI the plug-in sent during the block. */
    std::vector<MidiEvent> processBlock (const std::vector<MidiEvent>& input, std::vector<float>& left, std::vector<float>& right);

    std::vector<unsigned char> getChunk();
    void setChunk (const std::vector<unsigned char>& data);

    HostTransport transport;

    /** Host opcodes the plug-in has called so far. [any thread] */
    std::vector<int> hostOpcodesSeen() const
    {
        const std::lock_guard<std::mutex> guard (lock);
        return opcodes;
    }

    void clearHostOpcodes()
    {
        const std::lock_guard<std::mutex> guard (lock);
        opcodes.clear();
    }

private:
    friend class Vst2Library;
    Vst2Plugin() = default;

    static t_fstPtrInt hostCallback (AEffect* effect, int opcode, int index, t_fstPtrInt value, void* ptr, float opt);
    t_fstPtrInt handleHostCall (int opcode, int index, t_fstPtrInt value, void* ptr);

    AEffect* aeffect = nullptr;
    double currentSampleRate = 48000.0;
    int currentBlockSize = 512;
    VstTimeInfo timeInfo {};

    mutable std::mutex lock;
    std::vector<int> opcodes;
    std::vector<MidiEvent> output;
};

} // namespace cadenzium::test
