#include <gtest/gtest.h>

#include "PresetTestSupport.h"
#include "presets/PresetManagerUI.h"

#include <cstdlib>

namespace
{
/** "text#id" per item, "text[...]" per sub-menu, "~" after a greyed-out one. */
juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray entries;

    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();

        if (item.subMenu != nullptr)
            entries.add (item.text + (item.isEnabled ? "" : "~") + "[" + describe (*item.subMenu) + "]");
        else
            entries.add (item.text + "#" + juce::String (item.itemID) + (item.isEnabled ? "" : "~"));
    }

    return entries.joinIntoString (" ");
}

struct PresetList : testing::Test
{
    PresetList()
    {
        manager.userPresetFolder = user.folder;
        manager.addListener (&listener);
    }

    juce::String refresh()
    {
        manager.refreshPresetList();
        return describe (*manager.menu);
    }

    void addPresets (const juce::StringArray& paths)
    {
        for (auto& path : paths)
            user.write (path, "<nusk/>");
    }

    TemporaryFolder user;
    PresetManagerUI manager { "nusk" };
    juce::StringArray log;
    LoggingListener listener { "L", log };
};
} // namespace

TEST_F (PresetList, EmptyOrMissingFolderGivesOneGreyedOutEntry)
{
    EXPECT_EQ (refresh(), "User Presets~[]");
    EXPECT_TRUE (manager.presets.empty());

    manager.userPresetFolder = user.folder.getChildFile ("gone");
    EXPECT_EQ (refresh(), "User Presets~[]");
    EXPECT_EQ (log.joinIntoString ("|"), "L list 0|L list 0");
}

TEST_F (PresetList, NamesSortByNumberValueAndWithoutRegardToCase)
{
    addPresets ({ "Pad 10.preset", "Pad 2.preset", "bass.preset" });

    EXPECT_EQ (refresh(), "User Presets[bass#1 Pad 2#2 Pad 10#3]");
    EXPECT_EQ (describe (listener.lastMenu), "User Presets[bass#1 Pad 2#2 Pad 10#3]");
    EXPECT_EQ (log.joinIntoString ("|"), "L list 3");
    EXPECT_EQ (manager.presets[2].file, user.folder.getChildFile ("Pad 10.preset"));
}

TEST_F (PresetList, FolderPresetsComeBeforeSubFoldersNumberedDepthFirst)
{
    addPresets ({ "Z.preset", "A/B.preset", "Drums/Kits/Kit.preset", "Drums/d.preset", "bass/b.preset" });
    user.folder.getChildFile ("Empty").createDirectory();

    EXPECT_EQ (refresh(), "User Presets[Z#1 A[B#2] bass[b#3] Drums[d#4 Kits[Kit#5]] Empty~[]]");

    juce::StringArray names;
    for (auto& preset : manager.presets)
        names.add (preset.name);
    EXPECT_EQ (names.joinIntoString (" "), "Z B b d Kit");
}

TEST_F (PresetList, ListsTheExtensionInAnyLetterCaseAndNothingElse)
{
    addPresets ({ "Bass.PRESET", "notes.txt", "Lead.preset.bak", "preset", "Keys.Preset" });

    EXPECT_EQ (refresh(), "User Presets[Bass#1 Keys#2]");
}

TEST_F (PresetList, RefreshingAgainGivesTheSameIdsAndList)
{
    addPresets ({ "b.preset", "a.preset", "Sub/c.preset" });
    const auto first = refresh();
    const auto firstPresets = manager.presets;

    EXPECT_EQ (refresh(), first);
    ASSERT_EQ (manager.presets.size(), firstPresets.size());
    for (size_t i = 0; i < firstPresets.size(); ++i)
        EXPECT_EQ (manager.presets[i].file, firstPresets[i].file);
}

TEST_F (PresetList, IndexIsThePositionOfTheSameFileElseZero)
{
    EXPECT_EQ (manager.getPresetIndex (manager.makePreset (user.folder.getChildFile ("a.preset"))), 0);

    addPresets ({ "a.preset", "b.preset", "c.preset" });
    refresh();

    auto renamed = manager.makePreset (user.folder.getChildFile ("c.preset"));
    renamed.name = "Other";
    EXPECT_EQ (manager.getPresetIndex (renamed), 2);
    EXPECT_EQ (manager.getPresetIndex (manager.makePreset (user.folder.getChildFile ("x.preset"))), 0);
}

TEST_F (PresetList, LinkBackToAFolderBeingListedIsLeftOut)
{
    addPresets ({ "A/B.preset" });
    ASSERT_TRUE (user.folder.createSymbolicLink (user.folder.getChildFile ("A/loop"), true));

    EXPECT_EQ (refresh(), "User Presets[A[B#1]]");
}

TEST (PresetListGeneral, FindsPresetsAtAnyDepthUserFolderFirst)
{
    TemporaryFolder user, factory;
    for (auto path : { "a.preset", "Sub/Deep/b.PRESET", "c.txt" })
        user.write (path, "<nusk/>");
    factory.write ("f.preset", "<nusk/>");

    PresetManager manager ("nusk");
    manager.userPresetFolder = user.folder;
    manager.factoryPresetFolder = factory.folder;
    juce::StringArray log;
    LoggingListener listener ("L", log);
    manager.addListener (&listener);
    manager.refreshPresetList();

    ASSERT_EQ (manager.presets.size(), 3u);
    EXPECT_FALSE (manager.presets[0].isFactory);
    EXPECT_TRUE (manager.presets[2].isFactory);
    EXPECT_EQ (manager.presets[2].name, "f");
    EXPECT_EQ (log.joinIntoString ("|"), "L list 3");
    EXPECT_EQ (listener.lastMenu.getNumItems(), 0);
}

namespace
{
/** Sets or clears XDG_CONFIG_HOME and puts the old value back at the end. */
struct ConfigHomeOverride
{
    explicit ConfigHomeOverride (const char* value) : old (std::getenv ("XDG_CONFIG_HOME"))
    {
        if (value != nullptr)
            setenv ("XDG_CONFIG_HOME", value, 1);
        else
            unsetenv ("XDG_CONFIG_HOME");
    }

    ~ConfigHomeOverride()
    {
        if (old.isNotEmpty())
            setenv ("XDG_CONFIG_HOME", old.toRawUTF8(), 1);
        else
            unsetenv ("XDG_CONFIG_HOME");
    }

    juce::String old;
};

const juce::String folderTail ("/Application Support/Brevanto/nusk/Library/Presets/");
} // namespace

TEST (PresetFolder, UserFolderLiesUnderAnAbsoluteXdgConfigHome)
{
    TemporaryFolder config;
    ConfigHomeOverride home (config.folder.getFullPathName().toRawUTF8());

    EXPECT_EQ (getUserPresetFolderPath ("nusk"), config.folder.getFullPathName() + folderTail);

    PresetManager manager ("nusk");
    EXPECT_TRUE (config.folder.getChildFile ("Application Support/Brevanto/nusk/Library/Presets").isDirectory());
    EXPECT_EQ (manager.userPresetFolder, juce::File (config.folder.getFullPathName() + folderTail));
}

TEST (PresetFolder, RelativeOrMissingXdgConfigHomeFallsBackToJuce)
{
    const auto juceFolder = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);

    for (const char* value : { "relative/config", "", static_cast<const char*> (nullptr) })
    {
        ConfigHomeOverride home (value);
        EXPECT_EQ (getUserPresetFolderPath ("nusk"), juceFolder.getFullPathName() + folderTail);
    }
}
