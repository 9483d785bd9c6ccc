#pragma once

#include <pluginterfaces/vst2.x/aeffectx.h>

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace cadenzium::test
{

class Vst2Plugin;

/** Loads a VST2 plug-in library the way a host does: dlopen, then VSTPluginMain. */
class Vst2Library
{
public:
    explicit Vst2Library (const std::string& path);
    ~Vst2Library();

    bool isLoaded() const noexcept { return entry != nullptr; }
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
    opcode the plug-in sends. */
class Vst2Plugin
{
public:
    ~Vst2Plugin();

    AEffect* effect() const noexcept { return aeffect; }

    t_fstPtrInt dispatch (int opcode, int index = 0, t_fstPtrInt value = 0, void* ptr = nullptr, float opt = 0.0f);
    std::string dispatchString (int opcode, int index = 0);
    float getParameter (int index) { return aeffect->getParameter (aeffect, index); }

    /** Sample rate and block size, then resume. */
    void start (double sampleRate, int blockSize);

    /** Sends the three-byte messages at the block's start, then processes one block of
        stereo audio in place. */
    void processBlock (const std::vector<std::array<unsigned char, 3>>& midi, std::vector<float>& left, std::vector<float>& right);

    std::vector<unsigned char> getChunk();
    void setChunk (std::vector<unsigned char> data);

    /** Host opcodes the plug-in has called so far. [any thread] */
    std::vector<int> hostOpcodesSeen() const;

private:
    friend class Vst2Library;
    Vst2Plugin() = default;

    static t_fstPtrInt hostCallback (AEffect* effect, int opcode, int index, t_fstPtrInt value, void* ptr, float opt);

    AEffect* aeffect = nullptr;
    mutable std::mutex lock;
    std::vector<int> opcodes;
};

} // namespace cadenzium::test
