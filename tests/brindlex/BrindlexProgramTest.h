#pragma once

#include <tests/tarn/presets/PresetTestFiles.h>

namespace cadenzium::test
{

/** Factory presets A (swing 20) and B (swing 30): programs 1 and 2 after the Initial Patch. */
class BrindlexProgramTest : public PresetLibraryTest
{
protected:
    void SetUp() override
    {
        PresetLibraryTest::SetUp();
        Cadenzium2AudioProcessor writer;
        writeFactoryPreset (writer, "A.bpre", 20.0f);
        writeFactoryPreset (writer, "B.bpre", 30.0f);
    }
};

} // namespace cadenzium::test
