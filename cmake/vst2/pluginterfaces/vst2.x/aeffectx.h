// Forwarding header: JUCE's VST2 wrapper includes <pluginterfaces/vst2.x/aeffectx.h>
// inside its own namespace; the free FST headers provide the interface.
//
// FST gives opcodes it has not identified placeholder values (100000 and up).
// The JUCE wrapper uses eight of them: hosts would never understand a placeholder
// (a display-changed notification after a preset save would be ignored, a host
// asking for the tail size or the MIDI channel counts would get no answer), so
// the placeholders are renamed here and the real ABI values declared in their place.
#pragma once

#ifndef FST_DONT_DEPRECATE_UNKNOWN
 #define FST_DONT_DEPRECATE_UNKNOWN 1
#endif

#define audioMasterUpdateDisplay    fstPlaceholder_audioMasterUpdateDisplay
#define audioMasterIOChanged        fstPlaceholder_audioMasterIOChanged
#define audioMasterVendorSpecific   fstPlaceholder_audioMasterVendorSpecific
#define effKeysRequired             fstPlaceholder_effKeysRequired
#define effGetNumMidiInputChannels  fstPlaceholder_effGetNumMidiInputChannels
#define effGetNumMidiOutputChannels fstPlaceholder_effGetNumMidiOutputChannels
#define effSetBypass                fstPlaceholder_effSetBypass
#define effGetTailSize              fstPlaceholder_effGetTailSize

#include <pluginterfaces/fst/aeffectx.h>

#undef audioMasterUpdateDisplay
#undef audioMasterIOChanged
#undef audioMasterVendorSpecific
#undef effKeysRequired
#undef effGetNumMidiInputChannels
#undef effGetNumMidiOutputChannels
#undef effSetBypass
#undef effGetTailSize

constexpr AudioMasterOpcodesX audioMasterIOChanged        = static_cast<AudioMasterOpcodesX> (13);
constexpr AudioMasterOpcodesX audioMasterVendorSpecific   = static_cast<AudioMasterOpcodesX> (35);
constexpr AudioMasterOpcodesX audioMasterUpdateDisplay    = static_cast<AudioMasterOpcodesX> (42);

constexpr t_fstPluginOpcode effSetBypass                  = static_cast<t_fstPluginOpcode> (44);
constexpr t_fstPluginOpcode effGetTailSize                = static_cast<t_fstPluginOpcode> (52);
constexpr t_fstPluginOpcode effKeysRequired               = static_cast<t_fstPluginOpcode> (57);
constexpr t_fstPluginOpcode effGetNumMidiInputChannels    = static_cast<t_fstPluginOpcode> (78);
constexpr t_fstPluginOpcode effGetNumMidiOutputChannels   = static_cast<t_fstPluginOpcode> (79);
