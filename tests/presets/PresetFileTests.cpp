#include "PresetTestSupport.h"

#include <csignal>
#include <sys/resource.h>

using PresetFile = PresetFixture;

TEST_F (PresetFile, SaveWritesTheExactTextAndLoadGivesTheSameShapeWithValuesAsText)
{
    auto tree = juce::ValueTree::fromXml ("<nusk><ALIST><A id=\"fader1_cc\"/><A id=\"t\" value=\"a&amp;b&lt;&quot;&#233;\"/></ALIST><GLIST/></nusk>");
    tree.getChild (0).getChild (0).setProperty ("value", 16, nullptr);
    savePreset (tree, folder.getChildFile ("Saved.preset"));

    juce::MemoryBlock bytes;
    ASSERT_TRUE (folder.getChildFile ("Saved.preset").loadFileAsData (bytes));
    EXPECT_EQ (bytes.toString(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<nusk>\r\n  <ALIST>\r\n"
                                 "    <A id=\"fader1_cc\" value=\"16\"/>\r\n    <A id=\"t\" value=\"a&amp;b&lt;&quot;&#233;\"/>\r\n"
                                 "  </ALIST>\r\n  <GLIST/>\r\n</nusk>\r\n");
    ASSERT_EQ (load ("Saved.preset"), "loaded");
    EXPECT_EQ (store.tree.toXmlString(), tree.toXmlString());
    EXPECT_TRUE (store.tree.getChild (0).getChild (0)["value"].isString());
}

TEST_F (PresetFile, LoadTellsListenersBeforeTheCurrentPresetChangesAndAFailureChangesNothing)
{
    write ("Next.preset", "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"3\"/></GLIST></nusk>");
    write ("Capital.preset", "<NUSK><GLIST/></NUSK>");
    write ("Empty.preset", "");
    write ("Unclosed.preset", "<nusk><GLIST>");
    manager.refreshPresetList();
    manager.currentPreset = preset ("A.preset");
    log.clear();

    ASSERT_EQ (load ("Next.preset"), "loaded");
    EXPECT_EQ (log.joinIntoString ("|"), "L tree replaced while A|L current Next 2 while A|L HOST_SETSTATE_REQUEST while Next");
    EXPECT_FALSE (store.tree.hasProperty (hostSetStateRequest));

    const auto treeBefore = store.tree;
    log.clear();
    EXPECT_EQ (load ("Capital.preset"), "Preset seems to be malformed and cannot be loaded into plugin / Saving");
    for (auto name : { "Empty.preset", "Missing.preset", "Unclosed.preset" })
        EXPECT_EQ (load (name), parseFailure) << name;
    EXPECT_EQ (store.tree, treeBefore);
    EXPECT_EQ (manager.currentPreset.name, "Next");
    EXPECT_TRUE (log.isEmpty()) << log.joinIntoString ("|");
}

TEST_F (PresetFile, FailedSaveLeavesTheOldFileWhole)
{
    // Root may write into read-only folders, so the write is cut short by the
    // file-size limit instead, as a full disk would cut it.
    const auto file = write ("Old.preset", "old");
    const auto oldHandler = std::signal (SIGXFSZ, SIG_IGN);
    rlimit oldLimit {};
    getrlimit (RLIMIT_FSIZE, &oldLimit);
    const rlimit smallLimit { 100, oldLimit.rlim_max };
    ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &smallLimit), 0);
    savePreset (store.tree, file);
    setrlimit (RLIMIT_FSIZE, &oldLimit);
    std::signal (SIGXFSZ, oldHandler);

    EXPECT_EQ (file.loadFileAsString(), "old");
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);
}

TEST_F (PresetFile, ADoctypeNeverReadsAnotherFile)
{
    write ("defs.dtd", "<!ENTITY secret \"LEAKED\">");
    const juce::String body ("<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"&secret;\"/></GLIST></nusk>");
    write ("System.preset", "<!DOCTYPE nusk SYSTEM \"defs.dtd\">" + body);
    write ("Parameter.preset", "<!DOCTYPE nusk [<!ENTITY % defs SYSTEM \"defs.dtd\"> %defs;]>" + body);

    for (auto name : { "System.preset", "Parameter.preset" })
    {
        // JUCE's parser, given the file itself, does fetch the other one.
        const auto fromFile = juce::XmlDocument (folder.getChildFile (name)).getDocumentElement();
        ASSERT_TRUE (fromFile != nullptr && fromFile->toString().contains ("LEAKED")) << name;
        EXPECT_EQ (load (name), parseFailure) << name;
        EXPECT_FALSE (store.tree.toXmlString().contains ("LEAKED")) << name;
    }
}
