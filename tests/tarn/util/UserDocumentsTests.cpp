#include <tarn/util/UserDocuments.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
/** The test's private home, with whatever a test put in it removed afterwards. */
struct Home
{
    Home() { unsetenv ("XDG_DOCUMENTS_DIR"); }

    ~Home()
    {
        unsetenv ("XDG_DOCUMENTS_DIR");
        unsetenv ("XDG_CONFIG_HOME");
        folder.getChildFile (".config/user-dirs.dirs").deleteFile();
        folder.getChildFile ("Documents").deleteRecursively();
        folder.getChildFile ("Dokumente").deleteRecursively();
        folder.getChildFile ("Elsewhere").deleteRecursively();
    }

    const juce::File folder = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
};
} // namespace

TEST (UserDocuments, theDesktopsDocumentsFolderComesFirstThenDocumentsThenHome)
{
    Home home;
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder) << "no documents folder at all";

    ASSERT_TRUE (home.folder.getChildFile ("Documents").createDirectory());
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder.getChildFile ("Documents"));

    // The desktop names another folder; a line naming a missing folder is passed over.
    ASSERT_TRUE (home.folder.getChildFile ("Dokumente").createDirectory());
    ASSERT_TRUE (home.folder.getChildFile (".config/user-dirs.dirs").create().wasOk());
    home.folder.getChildFile (".config/user-dirs.dirs").replaceWithText ("# written by xdg-user-dirs-update\n"
                                                                         "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                                                         "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder.getChildFile ("Dokumente"));

    home.folder.getChildFile (".config/user-dirs.dirs").replaceWithText ("XDG_DOCUMENTS_DIR=\"$HOME/Gone\"\n");
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder.getChildFile ("Documents"));

    // The file lives in XDG_CONFIG_HOME when that is set.
    ASSERT_TRUE (home.folder.getChildFile ("Elsewhere/user-dirs.dirs").create().wasOk());
    home.folder.getChildFile ("Elsewhere/user-dirs.dirs").replaceWithText ("XDG_DOCUMENTS_DIR=\"" + home.folder.getChildFile ("Dokumente").getFullPathName() + "\"\n");
    setenv ("XDG_CONFIG_HOME", home.folder.getChildFile ("Elsewhere").getFullPathName().toRawUTF8(), 1);
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder.getChildFile ("Dokumente"));

    // The environment wins.
    setenv ("XDG_DOCUMENTS_DIR", home.folder.getChildFile ("Documents").getFullPathName().toRawUTF8(), 1);
    EXPECT_EQ (tarn::UserDocuments::getFolder(), home.folder.getChildFile ("Documents"));
}

TEST (UserDocuments, aDirsLineNamesAFolderOnlyForDocumentsAndOnlyWithAnAbsolutePath)
{
    const juce::File home ("/home/ada");
    using tarn::UserDocuments::parseDirsLine;
    EXPECT_EQ (parseDirsLine ("XDG_DOCUMENTS_DIR=\"$HOME/Docs\"", home), juce::File ("/home/ada/Docs"));
    EXPECT_EQ (parseDirsLine ("  XDG_DOCUMENTS_DIR = \"/srv/shared docs\" ", home), juce::File ("/srv/shared docs"));
    EXPECT_EQ (parseDirsLine ("XDG_MUSIC_DIR=\"$HOME/Music\"", home), juce::File());
    EXPECT_EQ (parseDirsLine ("# XDG_DOCUMENTS_DIR=\"$HOME/Docs\"", home), juce::File());
    EXPECT_EQ (parseDirsLine ("XDG_DOCUMENTS_DIR=\"Docs\"", home), juce::File()) << "relative";
    EXPECT_EQ (parseDirsLine ("XDG_DOCUMENTS_DIR=\"~/Docs\"", home), juce::File()) << "the tilde is not the file's syntax";
}
