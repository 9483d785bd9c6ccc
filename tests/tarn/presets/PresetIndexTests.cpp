#include "PresetTestFiles.h"

#include <tarn/presets/PresetIndex.h>
#include <tests/support/TemporaryFolder.h>

using tarn::PresetIndex;
using ids = PresetIndex::ids;
using cadenzium::test::namesOf;

namespace
{
struct Library
{
    cadenzium::test::TemporaryFolder folder;
    juce::File factory { juce::File (folder.string()).getChildFile ("Presets/Factory") };
    juce::File user { juce::File (folder.string()).getChildFile ("Presets/User") };

    juce::File add (const juce::File& root, const juce::String& relativePath, const juce::String& tag = "cadenzium2")
    {
        return cadenzium::test::writePresetFile (root.getChildFile (relativePath), tag);
    }

    PresetIndex build() const { return PresetIndex::build (factory, user, "cadenzium2"); }
};
} // namespace

TEST (PresetIndex, missingAndEmptyRootsGiveEmptyFolderNodesAndTheInitialPatchOnlyWithAFactoryFolder)
{
    Library library;
    const auto index = library.build();
    const auto& tree = index.getTree();
    ASSERT_TRUE (tree.hasType (ids::presets));
    ASSERT_EQ (tree.getNumChildren(), 2);
    EXPECT_EQ (tree.getChild (0).toXmlString (juce::XmlElement::TextFormat().singleLine().withoutHeader()), "<f_factory folder_name=\"Factory\"/>");
    EXPECT_TRUE (tree.getChild (1).hasType ("f_user"));
    EXPECT_EQ (namesOf (index.getList()), juce::StringArray ({ "Initial Patch" })) << "the list always has it";
    EXPECT_FALSE (index.hasFactoryPresets());

    // A user folder without factory folder: no Initial Patch node (the program list tests
    // check that the user presets still count from 1).
    library.add (library.user, "Mine.bpre");
    EXPECT_EQ (library.build().getTree().getChild (0).getNumChildren(), 0);

    // A factory folder with no preset file holds the Initial Patch but reports no presets.
    library.factory.createDirectory();
    EXPECT_FALSE (library.build().hasFactoryPresets());
    EXPECT_EQ (namesOf (library.build().getList()), juce::StringArray ({ "Initial Patch", "Mine" }));
    library.add (library.factory, "Pluck.bpre");
    library.user.getChildFile ("Mine.bpre").deleteFile();
    const auto withFactory = library.build();
    EXPECT_TRUE (withFactory.hasFactoryPresets());
    EXPECT_EQ (namesOf (withFactory.getList()), juce::StringArray ({ "Initial Patch", "Pluck" }));
    const auto& initial = withFactory.getList()[0];
    EXPECT_TRUE (initial.isInitialPatch() && initial.isFactory && initial.path.isEmpty());
    EXPECT_FALSE (withFactory.getTree().getChild (0).getChild (0).hasProperty (ids::path));
}

TEST (PresetIndex, presetsComeBeforeFoldersInCodePointOrderAndFoldersNestWhateverTheirCase)
{
    Library library;

    for (const auto* path : { "b.bpre", "Zeta.bpre", "alpha.bpre", "B.bpre", "\xc3\x89mile.bpre", "Bass/Sub/Low.bpre", "Bass/Deep.bpre", "Arp/Up.bpre", "Arp/Down.bpre" })
        library.add (library.factory, juce::String::fromUTF8 (path));

    const auto user = library.add (library.user, "Mine.bpre");
    library.add (library.user, "Deep Bass/One.bpre");
    library.add (library.user, "deep_bass/Two.bpre");
    const auto index = library.build();
    const juce::StringArray expected { "Initial Patch", "B", "Zeta", "alpha", "b", juce::String::fromUTF8 ("\xc3\x89mile"), "Down", "Up", "Deep", "Low", "Mine", "One", "Two" };
    EXPECT_EQ (namesOf (index.getList()), expected);

    for (size_t i = 0; i < index.getList().size(); ++i)
        EXPECT_EQ (std::pair (index.getList()[i].index, index.getList()[i].isFactory), std::pair ((int) i, i < 10));

    EXPECT_EQ (index.getList()[10].path, user.getFullPathName());
    const auto factory = index.getTree().getChild (0);
    const auto bass = factory.getChildWithName ("f_bass");
    ASSERT_TRUE (bass.isValid());
    EXPECT_EQ (factory.indexOf (bass), factory.getNumChildren() - 1); // folders last, "Arp" before "Bass"
    EXPECT_EQ (bass[ids::folderName].toString(), "Bass");
    EXPECT_EQ (std::pair (bass.getChild (0)[ids::name].toString(), (int) bass.getChild (0)[ids::presetIndex]), std::pair (juce::String ("Deep"), 8));
    EXPECT_EQ (bass.getChild (1).getChild (0)[ids::name].toString(), "Low");

    // Folder names differing in case or blanks share one node.
    const auto userTree = index.getTree().getChild (1);
    ASSERT_EQ (userTree.getNumChildren(), 2);
    EXPECT_TRUE (userTree.getChild (1).hasType ("f_deep_bass"));
    EXPECT_EQ (userTree.getChild (1).getNumChildren(), 2);
}

TEST (PresetIndex, onlyFilesThatReadWholeWithTheRightRootAreListedAndTheyAreReadAsTheLoaderReadsThem)
{
    Library library;
    const auto text = library.add (library.user, "Good.bpre").loadFileAsString();
    const auto outerEnd = text.indexOf ("<PARAM");
    ASSERT_GT (outerEnd, 0);
    const std::pair<const char*, juce::String> damaged[] = {
        { "Cut after its outer element", text.substring (0, outerEnd) },
        { "Cut before its last tag", text.trimEnd().dropLastCharacters (1) },
        { "Damaged inside", text.replace ("<PARAM", "<PARAM id=\"1\"") },
        { "Broken", "<cadenzium2 author=\"unterminated" },
        { "Empty", {} },
        { "Text", "just some words" },
    };

    for (const auto& [name, content] : damaged)
        library.user.getChildFile (juce::String (name) + ".bpre").replaceWithText (content);

    library.user.getChildFile ("With a byte-order mark.bpre").replaceWithText (text, false, true);
    library.user.getChildFile ("As UTF-16.bpre").replaceWithText (text, true, true);
    library.add (library.user, "Capital.bpre", "Cadenzium2");
    library.add (library.user, "Foreign.bpre", "somethingelse");
    library.add (library.user, "Wrong extension.xml");
    library.user.getChildFile ("Folder.bpre").createDirectory();

    // Bytes that are not UTF-8, in the header and in a text.
    const char bytes[] = "<?xml version=\"1.0\" enc\xff\xff\xff\xff\xff\xff\xff\xffoding=\"UTF-8\"?>\n"
                         "<cadenzium2 author=\"\xff\xfe\xff\xfe\xff\xfe\xff\xfe\"><PARAM id=\"a\" value=\"1\"/></cadenzium2>";
    library.user.getChildFile ("Odd.bpre").replaceWithData (bytes, sizeof (bytes) - 1);

    // A description long enough to push the root's start tag past the first read.
    const auto longDescription = juce::String::repeatedString ("la ", 40000);
    cadenzium::test::writePresetFile (library.user.getChildFile ("Long.bpre"), "cadenzium2", { { "description", longDescription }, { "categories", " Bass , ,Arp,, " } });

    const auto list = library.build().getList();
    ASSERT_EQ (namesOf (list), juce::StringArray ({ "Initial Patch", "As UTF-16", "Good", "Long", "Odd", "With a byte-order mark" }));

    for (size_t i = 1; i < list.size(); ++i) // after the Initial Patch, which has no file
        EXPECT_NE (PresetIndex::readDocument (juce::File (list[i].path)), nullptr) << list[i].name;

    for (const auto& [name, content] : damaged)
        EXPECT_EQ (PresetIndex::readDocument (library.user.getChildFile (juce::String (name) + ".bpre")), nullptr) << name;

    EXPECT_EQ (list[3].description, longDescription);
    EXPECT_EQ (list[3].categories, juce::StringArray ({ "Bass", "Arp" })) << "trimmed; authors: see the preset manager's round trip";
    EXPECT_EQ (list[4].author, PresetIndex::readDocument (juce::File (list[4].path))->getStringAttribute ("author"));
    EXPECT_EQ (list[4].author.length(), 8);
}
