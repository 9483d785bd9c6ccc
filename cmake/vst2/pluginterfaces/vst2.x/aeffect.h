// Forwarding header: JUCE's VST2 wrapper includes <pluginterfaces/vst2.x/aeffect.h>;
// the free FST headers provide the interface. Everything lives in aeffectx.h.
#pragma once
#include "aeffectx.h"
