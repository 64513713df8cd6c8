#include "PresetTestSupport.h"

#include <csignal>
#include <sys/resource.h>

using PresetFile = PresetFixture;

TEST_F (PresetFile, SavedFileHasTheExactLayoutEscapesAndLineEnds)
{
    juce::ValueTree root ("nusk"), bank ("ALIST"), globals ("GLIST");
    bank.appendChild (juce::ValueTree ("A", { { "id", "fader1_cc" }, { "value", 16 } }), nullptr);
    bank.appendChild (juce::ValueTree ("A", { { "id", "fader1_text" }, { "value", juce::String (juce::CharPointer_UTF8 ("a&b<\"\xc3\xa9")) } }), nullptr);
    globals.appendChild (juce::ValueTree ("GLOBAL", { { "id", "channel_select" }, { "value", 1.0 } }), nullptr);
    root.appendChild (bank, nullptr);
    root.appendChild (globals, nullptr);

    savePreset (root, folder.folder.getChildFile ("Layout.preset"));

    juce::MemoryBlock bytes;
    ASSERT_TRUE (folder.folder.getChildFile ("Layout.preset").loadFileAsData (bytes));
    EXPECT_EQ (bytes.toString(),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<nusk>\r\n  <ALIST>\r\n"
               "    <A id=\"fader1_cc\" value=\"16\"/>\r\n"
               "    <A id=\"fader1_text\" value=\"a&amp;b&lt;&quot;&#233;\"/>\r\n"
               "  </ALIST>\r\n  <GLIST>\r\n"
               "    <GLOBAL id=\"channel_select\" value=\"1.0\"/>\r\n"
               "  </GLIST>\r\n</nusk>\r\n");
}

TEST_F (PresetFile, SaveThenLoadKeepsShapeOrderAndTextsWithValuesAsStrings)
{
    store.setParameter (faderCcKeys[2], 99, 1);
    const auto savedXml = store.tree.toXmlString();
    savePreset (store.tree, folder.folder.getChildFile ("Round.preset"));
    store.tree = juce::ValueTree ("nusk");

    ASSERT_EQ (load ("Round.preset"), "loaded");
    EXPECT_EQ (store.tree.toXmlString(), savedXml);
    EXPECT_TRUE (store.tree.getChildWithName ("BLIST").getChild (35)["value"].isString());
}

TEST_F (PresetFile, FailuresCarryTheirMessageAndContextAndChangeNothing)
{
    folder.write ("Init.preset", "<nusk/>");
    folder.write ("Capital.preset", "<NUSK><GLIST/></NUSK>");
    folder.write ("Empty.preset", "");
    folder.write ("Unclosed.preset", "<nusk><GLIST>");
    ASSERT_EQ (load ("Init.preset"), "loaded");
    const auto treeBefore = store.tree;
    log.clear();

    EXPECT_EQ (load ("Capital.preset"), "Preset seems to be malformed and cannot be loaded into plugin / Saving");
    EXPECT_EQ (load ("Empty.preset"), parseFailure);
    EXPECT_EQ (load ("Missing.preset"), parseFailure);
    EXPECT_EQ (load ("Unclosed.preset"), parseFailure);

    EXPECT_EQ (store.tree, treeBefore);
    EXPECT_EQ (manager.currentPreset.name, "Init");
    EXPECT_TRUE (log.isEmpty()) << log.joinIntoString ("|");
}

TEST_F (PresetFile, LoadReplacesTreeTellsListenersSetsCurrentAndRequestsStateLast)
{
    folder.write ("A.preset", "<nusk/>");
    folder.write ("B.preset", "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"3\"/></GLIST></nusk>");
    manager.refreshPresetList();
    folder.write ("Unlisted/C.preset", "<nusk><FOO x=\"1\"><BAR/></FOO></nusk>");
    manager.currentPreset = preset ("A.preset");
    log.clear();

    ASSERT_EQ (load ("B.preset"), "loaded");
    EXPECT_EQ (log.joinIntoString ("|"), "L tree replaced while A|L current B 1 while A|L HOST_SETSTATE_REQUEST while B");
    EXPECT_EQ (store.getParameter (channelSelectKey, globalList).toString(), "3");
    EXPECT_FALSE (store.tree.hasProperty (hostSetStateRequest));

    log.clear();
    ASSERT_EQ (load ("Unlisted/C.preset"), "loaded");
    EXPECT_EQ (log[1], "L current C 0 while B");
    EXPECT_EQ (store.tree.getChild (0).getType().toString(), "FOO");
    EXPECT_EQ (store.tree.getChild (0).getChild (0).getType().toString(), "BAR");

    ASSERT_EQ (load ("A.preset"), "loaded");
    EXPECT_EQ (store.tree.getNumChildren(), 0);
}

TEST_F (PresetFile, FailedSaveLeavesTheOldFileWhole)
{
    // Root may write into read-only folders, so the write is cut short by the
    // file-size limit instead, as a full disk would cut it.
    const auto file = folder.write ("Old.preset", "old");
    const auto oldHandler = std::signal (SIGXFSZ, SIG_IGN);
    rlimit oldLimit {};
    getrlimit (RLIMIT_FSIZE, &oldLimit);
    const rlimit smallLimit { 100, oldLimit.rlim_max };
    ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &smallLimit), 0);
    savePreset (store.tree, file);
    setrlimit (RLIMIT_FSIZE, &oldLimit);
    std::signal (SIGXFSZ, oldHandler);

    EXPECT_EQ (file.loadFileAsString(), "old");
    EXPECT_EQ (folder.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);

    savePreset (store.tree, file.getChildFile ("UnderAFile.preset"));
    EXPECT_FALSE (file.getChildFile ("UnderAFile.preset").exists());
    savePreset (store.tree, file);
    EXPECT_TRUE (file.loadFileAsString().startsWith ("<?xml"));
}

TEST_F (PresetFile, NothingOutsideThePresetFileIsRead)
{
    folder.write ("defs.dtd", "<!ENTITY secret \"LEAKED\">");
    const juce::String body ("<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"&secret;\"/></GLIST></nusk>");
    folder.write ("System.preset", "<!DOCTYPE nusk SYSTEM \"defs.dtd\">" + body);
    folder.write ("Parameter.preset", "<!DOCTYPE nusk [<!ENTITY % defs SYSTEM \"defs.dtd\"> %defs;]>" + body);

    for (auto name : { "System.preset", "Parameter.preset" })
    {
        SCOPED_TRACE (name);
        // JUCE's parser, given the file itself, does fetch the other one.
        const auto fromFile = juce::XmlDocument (folder.folder.getChildFile (name)).getDocumentElement();
        ASSERT_TRUE (fromFile != nullptr && fromFile->toString().contains ("LEAKED"));

        EXPECT_EQ (load (name), parseFailure);
        EXPECT_FALSE (store.tree.toXmlString().contains ("LEAKED"));
    }
}
