#include "PresetTestSupport.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

using PresetFile = PresetFixture;

// Names of 16,000 characters outside ASCII, or of 21,000 quotes or ampersands,
// were once refused on reading back, each character written as a reference; a
// long name here is written with over 60,000 references of every kind.
TEST_F (PresetFile, EveryStoreSavesAndLoadsBackToTheSameTreeHoweverLongAndOddItsNames)
{
    juce::Random random (20261207);
    for (int round = 0; round < 24; ++round)
    {
        // Edited as the program can: any key of any list, numbers or names,
        // each edit moving its parameter and list to the end.
        ParameterStore source { nullptr };
        addDefaultParameters (source);
        for (int edit = 0; edit < 40; ++edit)
        {
            const auto list = random.nextInt (5);
            if (random.nextBool())
                source.setParameter (faderCcKeys[random.nextInt (4)], random.nextInt (128), list);
            else
                source.setParameter (textKeys[random.nextInt (8)], randomCarriableText (random, random.nextInt (40)), list);
        }
        if (round % 6 == 0)
            source.setParameter (textKeys[random.nextInt (8)], randomCarriableText (random, 100000), random.nextInt (4));

        ASSERT_TRUE (savePreset (source.tree, folder.getChildFile ("Round.preset"))) << round;
        ASSERT_EQ (load ("Round.preset"), "loaded") << round;
        EXPECT_TRUE (store.tree.createXml()->isEquivalentTo (source.tree.createXml().get(), false)) << round;
        EXPECT_TRUE (store.getParameter (faderCcKeys[0], 0).isString()); // values come back as text
    }
}

TEST_F (PresetFile, LoadTellsListenersBeforeTheCurrentPresetChangesAndAFailureChangesNothing)
{
    write ("Next.preset", "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"3\"/><GLOBAL id=\"14bit_midi_toggle\"/></GLIST></nusk>");
    write ("Capital.preset", "<NUSK><GLIST/></NUSK>");
    write ("Empty.preset", "");
    write ("Unclosed.preset", "<nusk><GLIST>");
    manager.refreshPresetList();
    manager.currentPreset = preset ("A.preset");
    log.clear();

    ASSERT_EQ (load ("Next.preset"), "loaded");
    EXPECT_EQ (log.joinIntoString ("|"), "L tree replaced while A|L current Next 2 while A|L HOST_SETSTATE_REQUEST while Next");
    EXPECT_FALSE (store.tree.hasProperty (hostSetStateRequest));
    // What the file lacks, or holds without a value, starts at its default.
    EXPECT_EQ (store.getParameter (fourteenBitToggleKey, globalList).toString() + store.getParameter ("fader4_text", 3).toString(), "0unset");

    write ("Control.preset", "<nusk><GLIST><GLOBAL id=\"n\" value=\"&#1;\"/></GLIST></nusk>");
    write ("Folder.preset/inside.preset", "<nusk/>");
    const auto treeBefore = store.tree;
    log.clear();
    EXPECT_EQ (load ("Capital.preset"), "Preset seems to be malformed and cannot be loaded into plugin / Saving");
    for (auto name : { "Empty.preset", "Missing.preset", "Unclosed.preset", "Control.preset", "Folder.preset" })
        EXPECT_EQ (load (name), parseFailure) << name;
    EXPECT_EQ (store.tree, treeBefore);
    EXPECT_EQ (manager.currentPreset.name, "Next");
    EXPECT_TRUE (log.isEmpty()) << log.joinIntoString ("|");
}

// An older or trimmed preset, loaded over a full one: what it lacks starts at
// its default rather than keeping the last preset's value, and a save of it
// writes no "undefined". The load stays outside the undo history.
TEST_F (PresetFile, APresetLackingParametersLoadsThemAtTheirDefaultsWithoutAnUndoStep)
{
    undoManager.beginNewTransaction();
    store.setParameter ("fader1_cc", 50, 0);
    store.setParameter ("fader1_text", "Kick", 0);
    undoManager.beginNewTransaction();
    write ("Trimmed.preset", "<nusk><ALIST><A id=\"fader2_cc\" value=\"3\"/></ALIST></nusk>");

    ASSERT_EQ (load ("Trimmed.preset"), "loaded");

    EXPECT_EQ (undoManager.getNumActionsInCurrentTransaction(), 0);
    EXPECT_TRUE (undoManager.canUndo()) << "the load cleared the history";
    EXPECT_EQ (store.getParameter ("fader1_cc", 0).toString(), "16");
    EXPECT_EQ (store.getParameter ("fader1_text", 0).toString(), "unset");
    EXPECT_EQ (store.getParameter ("fader2_cc", 0).toString(), "3");
    ASSERT_TRUE (savePreset (store.tree, folder.getChildFile ("Saved.preset")));
    EXPECT_FALSE (folder.getChildFile ("Saved.preset").loadFileAsString().contains ("undefined"));
}

// A link whose file is not there yet names the file a save creates, when
// its folder exists; into a missing folder, or round in a loop, the save is
// refused and nothing is written.
TEST_F (PresetFile, ASaveThroughADanglingLinkCreatesItsTargetOnlyInAFolderThatExists)
{
    const auto linkAt = [this] (const char* name, const char* text) { return symlink (text, folder.getChildFile (name).getFullPathName().toRawUTF8()) == 0; };
    ASSERT_TRUE (folder.getChildFile ("Made").createDirectory());
    ASSERT_TRUE (linkAt ("New.preset", "Made/New.preset"));
    ASSERT_TRUE (linkAt ("Lost.preset", "Missing/Lost.preset"));
    ASSERT_TRUE (linkAt ("Loop.preset", "Loop.preset"));

    EXPECT_TRUE (savePreset (store.tree, folder.getChildFile ("New.preset")));
    EXPECT_TRUE (folder.getChildFile ("Made/New.preset").existsAsFile());
    EXPECT_TRUE (folder.getChildFile ("New.preset").isSymbolicLink());

    EXPECT_FALSE (savePreset (store.tree, folder.getChildFile ("Lost.preset")));
    EXPECT_FALSE (folder.getChildFile ("Missing").exists());

    EXPECT_FALSE (savePreset (store.tree, folder.getChildFile ("Loop.preset")));
    EXPECT_TRUE (folder.getChildFile ("Loop.preset").isSymbolicLink());
}

// JUCE's own conversion decodes an attribute named "base64:..." into a
// block of binary data: "300000000." asked for 300 MB, which could then never
// be saved, and "-1." (tried at start-up with the panel) for (size_t) -1
// bytes. The block took the name without the prefix, so a second "value" hid
// the real one, and a save wrote the block back encoded, not the text.
TEST_F (PresetFile, AttributesNamedBase64LoadAndSaveAsTheTextTheyHold)
{
    const auto load = [this] (const juce::String& parameters)
    {
        write ("Odd.preset", "<nusk><ALIST>" + parameters + "</ALIST></nusk>");
        EXPECT_EQ (PresetFixture::load ("Odd.preset"), "loaded") << parameters;
    };
    const auto editSaveAndLoad = [this]
    {
        store.setParameter ("fader1_cc", 41, 0);
        EXPECT_TRUE (savePreset (store.tree, folder.getChildFile ("Saved.preset")));
        EXPECT_EQ (PresetFixture::load ("Saved.preset"), "loaded");
        return folder.getChildFile ("Saved.preset").loadFileAsString();
    };

    const auto memoryBefore = peakMemoryKiB();
    load ("<A id=\"fader1_text\" value=\"Kick\" base64:n=\"300000000.\"/>");
    const auto huge = editSaveAndLoad();
    EXPECT_LT (peakMemoryKiB() - memoryBefore, 64 * 1024) << "KiB";
    EXPECT_TRUE (huge.contains ("base64:n=\"300000000.\""));

    load ("<A id=\"fader1_cc\" base64:value=\"1.AA\" value=\"40\"/>");
    EXPECT_EQ (store.getParameter ("fader1_cc", 0).toString(), "40") << "the hidden value was read";
    editSaveAndLoad();
    EXPECT_EQ (store.getParameter ("fader1_cc", 0).toString(), "41") << "the edit was lost";

    load ("<A id=\"fader1_cc\" value=\"40\" base64:note=\"v1.2 kick\"/>");
    EXPECT_TRUE (editSaveAndLoad().contains ("base64:note=\"v1.2 kick\""));
}

// A folder linked into the preset folder whose real name is Latin-1 lists
// and loads; its saves are written there too, the path kept as given.
TEST_F (PresetFile, ASaveIntoALinkedFolderWhoseRealNameIsNotUtf8IsWrittenThere)
{
    const std::filesystem::path latin1 = folder.getParentDirectory().getFullPathName().toStdString() + "/caf\xe9";
    ASSERT_TRUE (std::filesystem::create_directory (latin1));
    std::ofstream (latin1 / "Old.preset") << "old";
    ASSERT_EQ (symlink (latin1.c_str(), folder.getChildFile ("Latin1").getFullPathName().toRawUTF8()), 0);

    EXPECT_TRUE (savePreset (store.tree, folder.getChildFile ("Latin1/New.preset")));
    EXPECT_TRUE (savePreset (store.tree, folder.getChildFile ("Latin1/Old.preset")));

    EXPECT_TRUE (std::filesystem::is_regular_file (latin1 / "New.preset"));
    EXPECT_EQ (load ("Latin1/Old.preset"), "loaded") << "the old file was not saved over";
    EXPECT_EQ (std::distance (std::filesystem::directory_iterator (latin1), {}), 2) << "a temporary file was left";
    std::filesystem::remove_all (latin1);
}
