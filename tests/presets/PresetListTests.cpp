#include "PresetTestSupport.h"

#include <cstdlib>

namespace
{
// "text#id" per item, "text[...]" per sub-menu, "~" after a greyed-out one.
juce::String describe (const juce::PopupMenu& menu)
{
    juce::StringArray entries;
    for (juce::PopupMenu::MenuItemIterator it (menu); it.next();)
    {
        const auto& item = it.getItem();
        entries.add (item.text + (item.isEnabled ? "" : "~") + (item.itemID != 0 ? "#" + juce::String (item.itemID) : "")
                     + (item.subMenu != nullptr ? "[" + describe (*item.subMenu) + "]" : ""));
    }
    return entries.joinIntoString (" ");
}

using PresetList = PresetFixture;
} // namespace

TEST_F (PresetList, MenuIsSortedNaturallyFilesBeforeFoldersAndNumberedDepthFirstAndRecordsNameTheirFiles)
{
    const auto refresh = [this] { manager.refreshPresetList(); return describe (*manager.menu); };

    EXPECT_EQ (refresh(), "User Presets~[]");
    for (auto path : { "Pad 10.preset", "Pad 2.preset", "bass.preset", "My.Bass.preset", "Z.preset", "notes.txt", "Lead.preset.bak", "A/B.preset",
                       "bass/b.preset", "Drums/d.preset", "Drums/Bass.PRESET", "Drums/Kits/Kit.preset" })
        write (path, "<nusk/>");
    folder.getChildFile ("Drums/Empty").createDirectory();
    ASSERT_TRUE (folder.createSymbolicLink (folder.getChildFile ("A/loop"), true));
    const auto menu = "User Presets[bass#1 My.Bass#2 Pad 2#3 Pad 10#4 Z#5 A[B#6] bass[b#7] Drums[Bass#8 d#9 Empty~[] Kits[Kit#10]]]";

    EXPECT_EQ (refresh(), menu);
    EXPECT_EQ (refresh(), menu);
    EXPECT_EQ (describe (recorder.lastMenu), menu);
    EXPECT_EQ (log.joinIntoString ("|"), "L list 0|L list 10|L list 10");

    EXPECT_EQ (manager.getPresetIndex ({ "Other", false, folder.getChildFile ("Drums/d.preset") }), 8);
    EXPECT_EQ (manager.getPresetIndex (preset ("Drums/x.preset")), 0);

    // A record's name ends at the last dot; factory means anywhere below the factory folder.
    EXPECT_EQ (manager.makePreset (juce::File ("/p/NoDot")).name, "NoDot");
    const auto factory = manager.factoryPresetFolder.getFullPathName();
    EXPECT_TRUE (manager.makePreset (juce::File (factory + "/Keys/Old/Deep.preset")).isFactory);
    EXPECT_FALSE (manager.makePreset (juce::File (factory + "2/Near.preset")).isFactory);
}

TEST_F (PresetList, UserFolderLiesUnderAnAbsoluteXdgConfigHomeElseJucesFolder)
{
    const juce::String tail ("/Application Support/Brevanto/nusk/Library/Presets/"), old (std::getenv ("XDG_CONFIG_HOME"));
    setenv ("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1);
    const auto underConfig = getUserPresetFolderPath ("nusk");
    PresetManager made ("nusk");
    setenv ("XDG_CONFIG_HOME", "relative/config", 1);
    const auto underRelative = getUserPresetFolderPath ("nusk");
    old.isNotEmpty() ? setenv ("XDG_CONFIG_HOME", old.toRawUTF8(), 1) : unsetenv ("XDG_CONFIG_HOME");

    EXPECT_EQ (underConfig, folder.getFullPathName() + tail);
    EXPECT_TRUE (juce::File (underConfig).isDirectory());
    EXPECT_EQ (underRelative, juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory).getFullPathName() + tail);
}
