#pragma once

// The theme lookups every piano-roll component uses: one include to change when the
// look-and-feel's own header arrives.
#include "ThemeStub.h"
