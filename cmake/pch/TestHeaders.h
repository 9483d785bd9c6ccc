// What almost every test file includes, precompiled once for all test executables.
#pragma once

#include "FrameworkHeaders.h"

#include <gtest/gtest.h>
