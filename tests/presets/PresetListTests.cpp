#include "PresetTestSupport.h"

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
        const auto body = item.subMenu != nullptr ? "[" + describe (*item.subMenu) + "]" : "#" + juce::String (item.itemID);
        entries.add (item.text + (item.isEnabled ? "" : "~") + body);
    }

    return entries.joinIntoString (" ");
}

struct PresetList : PresetFixture
{
    juce::String refresh()
    {
        manager.refreshPresetList();
        return describe (*manager.menu);
    }
};
} // namespace

TEST_F (PresetList, EmptyOrMissingFolderGivesOneGreyedOutEntry)
{
    EXPECT_EQ (refresh(), "User Presets~[]");
    manager.userPresetFolder = folder.folder.getChildFile ("gone");
    EXPECT_EQ (refresh(), "User Presets~[]");
    EXPECT_TRUE (manager.presets.empty());
    EXPECT_EQ (log.joinIntoString ("|"), "L list 0|L list 0");
}

TEST_F (PresetList, MenuSortsNaturallyListsFolderPresetsFirstAndNumbersDepthFirst)
{
    for (auto path : { "Pad 10.preset", "Pad 2.preset", "bass.preset", "Keys.PRESET", "notes.txt", "Lead.preset.bak",
                       "Z.preset", "A/B.preset", "Drums/d.preset", "Drums/Kits/Kit.preset", "bass/b.preset" })
        folder.write (path, "<nusk/>");
    folder.folder.getChildFile ("Empty").createDirectory();
    const auto expected = "User Presets[bass#1 Keys#2 Pad 2#3 Pad 10#4 Z#5 A[B#6] bass[b#7] Drums[d#8 Kits[Kit#9]] Empty~[]]";

    EXPECT_EQ (refresh(), expected);
    EXPECT_EQ (describe (recorder.lastMenu), expected);
    EXPECT_EQ (log.joinIntoString ("|"), "L list 9");

    const auto firstList = manager.presets;
    EXPECT_EQ (refresh(), expected);
    juce::StringArray names;
    for (size_t i = 0; i < manager.presets.size(); ++i)
    {
        names.add (manager.presets[i].name);
        EXPECT_EQ (manager.presets[i].file, firstList[i].file);
    }
    EXPECT_EQ (names.joinIntoString (" "), "bass Keys Pad 2 Pad 10 Z B b d Kit");
    EXPECT_EQ (manager.presets[3].file, folder.folder.getChildFile ("Pad 10.preset"));
}

TEST_F (PresetList, IndexIsThePositionOfTheSameFileElseZero)
{
    EXPECT_EQ (manager.getPresetIndex (preset ("a.preset")), 0);
    for (auto path : { "a.preset", "b.preset", "c.preset" })
        folder.write (path, "<nusk/>");
    refresh();

    auto renamed = preset ("c.preset");
    renamed.name = "Other";
    EXPECT_EQ (manager.getPresetIndex (renamed), 2);
    EXPECT_EQ (manager.getPresetIndex (preset ("x.preset")), 0);
}

TEST_F (PresetList, LinkBackToAFolderBeingListedIsLeftOut)
{
    folder.write ("A/B.preset", "<nusk/>");
    ASSERT_TRUE (folder.folder.createSymbolicLink (folder.folder.getChildFile ("A/loop"), true));
    EXPECT_EQ (refresh(), "User Presets[A[B#1]]");
}

TEST (PresetListGeneral, FindsPresetsAtAnyDepthUserFolderFirstWithAnEmptyMenu)
{
    TemporaryFolder user, factory;
    user.write ("a.preset", "");
    user.write ("Sub/Deep/b.PRESET", "");
    user.write ("c.txt", "");
    factory.write ("f.preset", "");
    PresetManager manager ("nusk");
    manager.userPresetFolder = user.folder;
    manager.factoryPresetFolder = factory.folder;
    juce::StringArray log;
    Recorder recorder ("L", log);
    manager.addListener (&recorder);

    manager.refreshPresetList();

    ASSERT_EQ (manager.presets.size(), 3u);
    EXPECT_FALSE (manager.presets[1].isFactory);
    EXPECT_EQ (manager.presets[2].name, "f");
    EXPECT_TRUE (manager.presets[2].isFactory);
    EXPECT_EQ (log.joinIntoString ("|"), "L list 3");
    EXPECT_EQ (recorder.lastMenu.getNumItems(), 0);
}

namespace
{
/** Sets or clears XDG_CONFIG_HOME, putting the old value back at the end. */
struct ConfigHome
{
    explicit ConfigHome (const char* value) { value != nullptr ? setenv (name, value, 1) : unsetenv (name); }
    ~ConfigHome() { old.isNotEmpty() ? setenv (name, old.toRawUTF8(), 1) : unsetenv (name); }

    static constexpr const char* name = "XDG_CONFIG_HOME";
    const juce::String old { std::getenv (name) };
};

const juce::String folderTail ("/Application Support/Brevanto/nusk/Library/Presets/");
} // namespace

TEST (PresetFolder, UserFolderLiesUnderAnAbsoluteXdgConfigHomeElseJucesFolder)
{
    TemporaryFolder config;
    {
        ConfigHome home (config.folder.getFullPathName().toRawUTF8());
        EXPECT_EQ (getUserPresetFolderPath ("nusk"), config.folder.getFullPathName() + folderTail);
        PresetManager manager ("nusk");
        EXPECT_TRUE (juce::File (config.folder.getFullPathName() + folderTail).isDirectory());
    }

    const auto juceFolder = juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
    for (const char* value : { "relative/config", "", static_cast<const char*> (nullptr) })
    {
        ConfigHome home (value);
        EXPECT_EQ (getUserPresetFolderPath ("nusk"), juceFolder.getFullPathName() + folderTail);
    }
}
