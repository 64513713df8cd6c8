#include <gtest/gtest.h>

#include "PresetTestSupport.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManagerUI.h"

#include <csignal>
#include <sys/resource.h>

namespace
{
/** Logs tree notifications into the same log as the preset listener, with
    the manager's current preset at that moment. */
struct TreeLogger : juce::ValueTree::Listener
{
    TreeLogger (juce::StringArray& logToUse, const PresetManager& managerToWatch) : log (logToUse), manager (managerToWatch) {}

    void valueTreeRedirected (juce::ValueTree&) override { log.add ("tree replaced"); }

    void valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& property) override
    {
        log.add (property.toString() + " with current " + manager.currentPreset.name);
    }

    juce::StringArray& log;
    const PresetManager& manager;
};

struct PresetFile : testing::Test
{
    PresetFile()
    {
        addDefaultParameters (store);
        manager.userPresetFolder = folder.folder;
        manager.addListener (&listener);
        store.tree.addListener (&treeLogger);
    }

    ~PresetFile() override { store.tree.removeListener (&treeLogger); }

    Preset preset (const juce::String& fileName) { return manager.makePreset (folder.folder.getChildFile (fileName)); }

    /** The message and context of the error, or "loaded". */
    juce::String loadOutcome (const Preset& toLoad)
    {
        try
        {
            manager.loadPreset (toLoad, store);
            return "loaded";
        }
        catch (const PresetException& error)
        {
            return juce::String (error.what()) + " / " + error.context;
        }
    }

    TemporaryFolder folder;
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    PresetManagerUI manager { "nusk" };
    juce::StringArray log;
    LoggingListener listener { "listener", log };
    TreeLogger treeLogger { log, manager };
};

const juce::String parseFailure ("Could not parse preset / Loading XML");
} // namespace

TEST_F (PresetFile, SavedFileHasTheExactLayoutEncodingAndLineEnds)
{
    juce::ValueTree root ("nusk"), bank ("ALIST"), globals ("GLIST");
    bank.appendChild (juce::ValueTree ("A", { { "id", "fader1_cc" }, { "value", 16 } }), nullptr);
    bank.appendChild (juce::ValueTree ("A", { { "id", "fader1_text" }, { "value", juce::String (juce::CharPointer_UTF8 ("a&b<\"\xc3\xa9")) } }), nullptr);
    globals.appendChild (juce::ValueTree ("GLOBAL", { { "id", "channel_select" }, { "value", 1.0 } }), nullptr);
    root.appendChild (bank, nullptr);
    root.appendChild (globals, nullptr);

    const auto file = folder.folder.getChildFile ("Layout.preset");
    savePreset (root, file);

    juce::MemoryBlock bytes;
    ASSERT_TRUE (file.loadFileAsData (bytes));
    EXPECT_EQ (bytes.toString(),
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
               "\r\n"
               "<nusk>\r\n"
               "  <ALIST>\r\n"
               "    <A id=\"fader1_cc\" value=\"16\"/>\r\n"
               "    <A id=\"fader1_text\" value=\"a&amp;b&lt;&quot;&#233;\"/>\r\n"
               "  </ALIST>\r\n"
               "  <GLIST>\r\n"
               "    <GLOBAL id=\"channel_select\" value=\"1.0\"/>\r\n"
               "  </GLIST>\r\n"
               "</nusk>\r\n");
}

TEST_F (PresetFile, SaveThenLoadKeepsShapeAndOrderWithValuesAsText)
{
    store.setParameter (channelSelectKey, 7.0, globalList);
    store.setParameter (faderCcKeys[2], 99, 1);
    const auto saved = store.tree.createCopy();
    savePreset (store.tree, folder.folder.getChildFile ("Round.preset"));

    store.tree = juce::ValueTree ("nusk");
    ASSERT_EQ (loadOutcome (preset ("Round.preset")), "loaded");

    ASSERT_EQ (store.tree.getNumChildren(), saved.getNumChildren());
    for (int list = 0; list < saved.getNumChildren(); ++list)
    {
        const auto before = saved.getChild (list), after = store.tree.getChild (list);
        ASSERT_EQ (after.getType(), before.getType());
        ASSERT_EQ (after.getNumChildren(), before.getNumChildren());

        for (int i = 0; i < before.getNumChildren(); ++i)
        {
            EXPECT_EQ (after.getChild (i).getType(), before.getChild (i).getType());
            EXPECT_EQ (after.getChild (i)["id"].toString(), before.getChild (i)["id"].toString());
            EXPECT_EQ (after.getChild (i)["value"].toString(), before.getChild (i)["value"].toString());
            EXPECT_TRUE (after.getChild (i)["value"].isString());
        }
    }

    EXPECT_EQ (store.tree.getChild (store.tree.getNumChildren() - 1).getType().toString(), "BLIST");
}

TEST_F (PresetFile, FailuresCarryTheirMessageAndContextAndChangeNothing)
{
    folder.write ("Capital.preset", "<NUSK><GLIST/></NUSK>");
    folder.write ("Empty.preset", "");
    folder.write ("Unclosed.preset", "<nusk><GLIST>");
    folder.write ("Init.preset", "<nusk/>");
    manager.refreshPresetList();
    ASSERT_EQ (loadOutcome (preset ("Init.preset")), "loaded");

    const auto treeBefore = store.tree;
    log.clear();

    EXPECT_EQ (loadOutcome (preset ("Capital.preset")),
               "Preset seems to be malformed and cannot be loaded into plugin / Saving");
    EXPECT_EQ (loadOutcome (preset ("Empty.preset")), parseFailure);
    EXPECT_EQ (loadOutcome (preset ("Missing.preset")), parseFailure);
    EXPECT_EQ (loadOutcome (preset ("Unclosed.preset")), parseFailure);

    EXPECT_EQ (store.tree, treeBefore);
    EXPECT_EQ (manager.currentPreset.name, "Init");
    EXPECT_TRUE (log.isEmpty()) << log.joinIntoString ("|");
}

TEST_F (PresetFile, LoadReplacesTreeThenTellsListenersThenSetsCurrentThenRequestsState)
{
    folder.write ("A.preset", "<nusk/>");
    folder.write ("B.preset", "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"3\"/></GLIST></nusk>");
    manager.refreshPresetList();
    manager.currentPreset = preset ("A.preset");
    log.clear();

    ASSERT_EQ (loadOutcome (preset ("B.preset")), "loaded");

    EXPECT_EQ (log.joinIntoString ("|"), "tree replaced|listener current B 1|HOST_SETSTATE_REQUEST with current B");
    EXPECT_EQ (store.getParameter (channelSelectKey, globalList).toString(), "3");
    EXPECT_FALSE (store.tree.hasProperty (hostSetStateRequest));

    listener.onCall = [this] { log.add ("current was " + manager.currentPreset.name); };
    log.clear();
    folder.write ("Elsewhere/Unlisted.preset", "<nusk/>");
    ASSERT_EQ (loadOutcome (preset ("Elsewhere/Unlisted.preset")), "loaded");
    EXPECT_EQ (log[1], "listener current Unlisted 0");
    EXPECT_EQ (log[2], "current was B");
}

TEST_F (PresetFile, RootWithoutListsLoadsAndUnknownElementsStay)
{
    folder.write ("Bare.preset", "<nusk/>");
    folder.write ("Odd.preset", "<nusk><FOO x=\"1\"><BAR/></FOO></nusk>");

    ASSERT_EQ (loadOutcome (preset ("Bare.preset")), "loaded");
    EXPECT_EQ (store.tree.getNumChildren(), 0);

    ASSERT_EQ (loadOutcome (preset ("Odd.preset")), "loaded");
    EXPECT_EQ (store.tree.getChild (0).getType().toString(), "FOO");
    EXPECT_EQ (store.tree.getChild (0).getChild (0).getType().toString(), "BAR");
}

TEST_F (PresetFile, WriteThatBreaksOffLeavesTheOldFileWhole)
{
    // Running as root makes read-only folders writable, so the write is made
    // to fail through the file-size limit instead, as a full disk would.
    const auto file = folder.write ("Old.preset", "old");
    const auto oldSignal = std::signal (SIGXFSZ, SIG_IGN);
    rlimit oldLimit {};
    getrlimit (RLIMIT_FSIZE, &oldLimit);
    rlimit smallLimit { 100, oldLimit.rlim_max };
    ASSERT_EQ (setrlimit (RLIMIT_FSIZE, &smallLimit), 0);

    savePreset (store.tree, file);

    setrlimit (RLIMIT_FSIZE, &oldLimit);
    std::signal (SIGXFSZ, oldSignal);
    EXPECT_EQ (file.loadFileAsString(), "old");
    EXPECT_EQ (folder.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 1);

    const auto underAFile = file.getChildFile ("New.preset");
    savePreset (store.tree, underAFile);
    EXPECT_FALSE (underAFile.exists());

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
        // JUCE's parser, given the file, does fetch the other one.
        const auto fromFile = juce::XmlDocument (folder.folder.getChildFile (name)).getDocumentElement();
        ASSERT_NE (fromFile, nullptr);
        ASSERT_TRUE (fromFile->toString().contains ("LEAKED"));

        EXPECT_EQ (loadOutcome (preset (name)), parseFailure);
        EXPECT_FALSE (store.tree.toXmlString().contains ("LEAKED"));
    }
}
