#include <tests/support/TemporaryFolder.h>

#include <gtest/gtest.h>

int main (int argc, char** argv)
{
    // The plug-in writes its settings and log under HOME: keep them out of the real one.
    cadenzium::test::useTemporaryHome();
    ::testing::InitGoogleTest (&argc, argv);
    return RUN_ALL_TESTS();
}
