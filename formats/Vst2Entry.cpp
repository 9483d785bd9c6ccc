// The VST2 plug-in's entry point: JUCE's wrapper (its VSTPluginMain renamed when it is
// compiled, see the top CMakeLists.txt), with one change to how the plug-in closes.
//
// A host may close the plug-in (effClose) while its window is still open. The wrapper then
// deletes the window without holding the host-driven event loop, so its message thread
// starts again half-way through the window's teardown and repaints a window being deleted:
// the host crashes. Closing the window the way effEditClose does first, with the loop held,
// leaves nothing for that thread to touch.

#include <pluginterfaces/vst2.x/aeffectx.h>

extern "C" AEffect* juce_VSTPluginMain (audioMasterCallback host);

namespace
{
// The wrapper's dispatcher is one function for every instance.
AEffectDispatcherProc wrappersDispatcher = nullptr;

t_fstPtrInt closeTheWindowBeforeThePlugin (AEffect* effect, int opcode, int index, t_fstPtrInt value, void* const ptr, float opt)
{
    if (opcode == effClose)
        wrappersDispatcher (effect, effEditClose, 0, 0, nullptr, 0.0f);

    return wrappersDispatcher (effect, opcode, index, value, ptr, opt);
}
} // namespace

extern "C" __attribute__ ((visibility ("default"))) AEffect* VSTPluginMain (audioMasterCallback host)
{
    auto* effect = juce_VSTPluginMain (host);

    if (effect != nullptr)
    {
        wrappersDispatcher = effect->dispatcher;
        effect->dispatcher = closeTheWindowBeforeThePlugin;
    }

    return effect;
}
