#include "PresetTestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

// The number of presets a listing in a child process finds, or -1 when it
// takes longer than the given seconds: a listing that runs away fails the
// test rather than holding it up.
int presetsListedWithin (PresetManagerUI& manager, unsigned seconds)
{
    int status = 0;
    if (const auto child = fork(); child != 0)
        return child > 0 && waitpid (child, &status, 0) == child && WIFEXITED (status) ? WEXITSTATUS (status) : -1;
    alarm (seconds);
    manager.refreshPresetList();
    _exit (juce::jmin ((int) manager.presets.size(), 255));
}

using PresetList = PresetFixture;
} // namespace

TEST_F (PresetList, MenuIsSortedNaturallyFilesBeforeFoldersNumberedDepthFirstReadsEachFolderOnceAndRecordsNameTheirFiles)
{
    const auto refresh = [this] { manager.refreshPresetList(); return describe (*manager.menu); };

    EXPECT_EQ (refresh(), "User Presets~[]");
    for (auto path : { "Pad 10.preset", "Pad 2.preset", "bass.preset", "My.Bass.preset", "Z.preset", "notes.txt", "Lead.preset.bak", "A/B.preset",
                       "bass/b.preset", "Drums/d.preset", "Drums/Bass.PRESET", "Drums/Kits/Kit.preset", "Caf\u00e9.preset", "Bad/In.preset" })
        write (juce::CharPointer_UTF8 (path), "<nusk/>");
    folder.getChildFile ("Drums/Empty").createDirectory();
    ASSERT_TRUE (folder.createSymbolicLink (folder.getChildFile ("A/loop"), true));
    // Names that are not UTF-8 are left out, a folder's with all it holds:
    // JUCE reads past the end of one that ends inside a character.
    const auto raw = (folder.getFullPathName() + "/").toStdString();
    for (auto name : { "Pad\xc3.preset", "Voil\xe0.preset", "Pad\xc3", "Cut\xe2\x82" })
        ASSERT_EQ (symlink ("Z.preset", (raw + name).c_str()), 0);
    ASSERT_EQ (rename ((raw + "Bad").c_str(), (raw + "Bad\xed\xa0\x80").c_str()), 0);
    const juce::String menu = juce::CharPointer_UTF8 ("User Presets[bass#1 Caf\u00e9#2 My.Bass#3 Pad 2#4 Pad 10#5 Z#6 A[B#7] bass[b#8] Drums[Bass#9 d#10 Empty~[] Kits[Kit#11]]]");

    EXPECT_EQ (refresh(), menu);
    EXPECT_EQ (refresh(), menu);
    EXPECT_EQ (describe (recorder.lastMenu), menu);
    EXPECT_EQ (log.joinIntoString ("|"), "L list 0|L list 11|L list 11");
    for (const auto& listed : manager.presets)
        EXPECT_EQ (load (listed.file.getRelativePathFrom (folder)), "loaded") << listed.name;

    EXPECT_EQ (manager.getPresetIndex ({ "Other", false, folder.getChildFile ("Drums/d.preset") }), 9);
    EXPECT_EQ (manager.getPresetIndex (preset ("Drums/x.preset")), 0);

    // A record's name ends at the last dot; factory means anywhere below the factory folder.
    EXPECT_EQ (manager.makePreset (juce::File ("/p/NoDot")).name, "NoDot");
    const auto factory = manager.factoryPresetFolder.getFullPathName();
    EXPECT_TRUE (manager.makePreset (juce::File (factory + "/Keys/Old/Deep.preset")).isFactory);
    EXPECT_FALSE (manager.makePreset (juce::File (factory + "2/Near.preset")).isFactory);

    // Twenty levels, each with two links to the next, once meant 2^20
    // listings, and a link to / a listing of the whole file system.
    const auto level = [this] (int depth) { return folder.getChildFile ("Levels/" + juce::String (depth)); };
    write ("Levels/20/Bottom.preset", "<nusk/>");
    for (int link = 0; link < 40; ++link)
        ASSERT_TRUE (level (link / 2).createDirectory() && level (link / 2 + 1).createSymbolicLink (level (link / 2).getChildFile (juce::String (link % 2)), true));
    EXPECT_EQ (presetsListedWithin (manager, 2), 12);
    ASSERT_TRUE (juce::File ("/").createSymbolicLink (folder.getChildFile ("Root"), true));
    EXPECT_NE (presetsListedWithin (manager, 3), -1);
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

// A listing keeps what it found when it reaches its bound: the folder it
// started in has been read whole, and the sub-folder as far as the bound.
TEST_F (PresetList, AListingReadsAtMostAHundredThousandEntriesAndKeepsWhatItFound)
{
    write ("Keep.preset", "<nusk/>"); // with ".", ".." and "Many", four entries here
    const auto many = folder.getChildFile ("Many");
    ASSERT_TRUE (many.createDirectory());
    for (int i = 0; i < 100000; ++i)
    {
        const auto descriptor = open ((many.getFullPathName() + "/" + juce::String (i) + ".preset").toRawUTF8(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE (descriptor, 0);
        close (descriptor);
    }

    manager.refreshPresetList();

    ASSERT_FALSE (manager.presets.empty());
    EXPECT_EQ (manager.presets.front().name, "Keep");
    // 99,996 entries of Many are read, "." and ".." perhaps among them.
    EXPECT_LE (manager.presets.size(), 1u + 99996u);
    EXPECT_GE (manager.presets.size(), 1u + 99994u);
}
