#include "PresetTestSupport.h"

#include "presets/PresetBar.h"
#include "presets/PresetFileReader.h"

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// While it lives, a write is cut short at the given size, as a full disk cuts
// it: the process's file-size limit, with the signal that would end it ignored.
struct FileSizeLimit
{
    explicit FileSizeLimit (rlim_t bytes)
    {
        getrlimit (RLIMIT_FSIZE, &oldLimit);
        const rlimit limit { bytes, oldLimit.rlim_max };
        applied = setrlimit (RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() { setrlimit (RLIMIT_FSIZE, &oldLimit); std::signal (SIGXFSZ, oldHandler); }

    void (*oldHandler) (int) = std::signal (SIGXFSZ, SIG_IGN);
    rlimit oldLimit {};
    bool applied = false;
};

int countWindows (const juce::String& title)
{
    int count = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        count += juce::TopLevelWindow::getTopLevelWindow (i)->getName() == title ? 1 : 0;
    return count;
}

juce::String presetWithChannel (int channel) { return "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"" + juce::String (channel) + "\"/></GLIST></nusk>"; }

// Answers the save dialog or the "Saving Failed" box it expects; one that
// comes unasked is closed at once and fails the test, so no modal loop waits
// for ctest's timeout.
struct PresetBarTest : PresetFixture, juce::Timer, juce::ValueTree::Listener
{
    PresetBarTest() { store.tree.addListener (this); startTimer (20); }
    void TearDown() override { stopTimer(); dismissModalComponents(); }
    void valueTreeRedirected (juce::ValueTree&) override { ++loads; } // a load puts a new tree in place

    void timerCallback() override
    {
        auto* modal = juce::Component::getCurrentlyModalComponent();
        if (modal == nullptr || ! juce::StringArray { "Choose a file to save...", "Saving Failed" }.contains (modal->getName()))
            return;
        if (modal->getName() == expectedModal && answer)
            return std::exchange (answer, {}) (*modal);
        ADD_FAILURE() << "unexpected modal window: " << modal->getName();
        modal->exitModalState (0);
    }

    bool makePipe (const juce::String& name) { return folder.getChildFile (name).deleteFile() && mkfifo (folder.getChildFile (name).getFullPathName().toRawUTF8(), 0600) == 0; }

    // Builds the bar as the top bar does; the start-up load runs when asked.
    // A manager keeps its listeners, so the old bar leaves it first.
    void start (bool runLoop = true)
    {
        manager.listeners.removeFirstMatchingValue (bar.get());
        bar.reset();
        bar = std::make_unique<PresetBar> (store, manager);
        if (runLoop) dispatchMessages();
    }

    void click (const juce::String& button, std::function<void (juce::Component&)> answerToGive = {})
    {
        expectedModal = "Choose a file to save...";
        answer = std::move (answerToGive);
        findChild<juce::DrawableButton> (*bar, button)->triggerClick();
        dispatchMessages();
    }

    juce::ComboBox& box() { return *findChild<juce::ComboBox> (*bar); }
    int numFiles() const { return folder.findChildFiles (juce::File::findFilesAndDirectories, true, "*", juce::File::FollowSymlinks::no).size(); }
    juce::String channel() { return store.getParameter (channelSelectKey, globalList).toString(); }
    bool holdsStore (const juce::File& file)
    {
        const auto xml = PresetFileReader::parse (file);
        return xml != nullptr && xml->isEquivalentTo (store.tree.createXml().get(), false);
    }

    int loads = 0;
    std::unique_ptr<PresetBar> bar;
    juce::File initFile { folder.getChildFile ("Init.preset") };
    juce::String expectedModal;
    std::function<void (juce::Component&)> answer;
};
} // namespace

TEST_F (PresetBarTest, InitIsWrittenOnlyWhenNoFileHasItsNameAndWithNothingListedOnlyUndoActs)
{
    start (false);
    EXPECT_TRUE (holdsStore (initFile));
    EXPECT_EQ (loads, 0); // the start-up load waits for the message loop
    dispatchMessages();
    EXPECT_EQ (loads, 1);

    write ("Init.preset", presetWithChannel (9));
    start();
    EXPECT_EQ (initFile.loadFileAsString(), presetWithChannel (9));

    // A folder that cannot go: the write fails silently and the first listed preset starts.
    ASSERT_TRUE (initFile.deleteFile() && initFile.getChildFile ("keep").create());
    write ("Bass.preset", presetWithChannel (4));
    start();
    EXPECT_EQ (box().getText() + channel(), "Bass4");
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), 0);

    // Nothing listed and nothing to undo: the buttons change nothing.
    folder.deleteRecursively();
    ASSERT_TRUE (folder.replaceWithText ("in the way"));
    start();
    undoManager.clearUndoHistory();
    const auto before = store.tree.createCopy();
    const auto loadsBefore = loads;
    for (auto* button : { "left", "right", "undo" })
        click (button);
    EXPECT_TRUE (store.tree.isEquivalentTo (before) && loads == loadsBefore && juce::TopLevelWindow::getNumTopLevelWindows() == 0);

    // The undo button reverts the last edit.
    undoManager.beginNewTransaction();
    store.setParameter (channelSelectKey, 11, globalList);
    click ("undo");
    EXPECT_TRUE (store.tree.isEquivalentTo (before));
}

// A pipe named like a preset would block a read for good: the alarm ends a
// run that blocks in seconds.
TEST_F (PresetBarTest, StepsLoadOnceWrapAroundCountFromNothingSelectedAndStopAtABrokenPreset)
{
    alarm (10);
    start(); // Init alone: a step loads it once
    click ("right");
    EXPECT_EQ (loads, 2);
    ASSERT_TRUE (makePipe ("Init.preset")); // refused at start-up, and below when chosen
    start();
    EXPECT_EQ (countWindows ("Error while Loading XML"), 1);

    const char* names[] { "A", "Init", "P2", "P3" }; // A fails to load, so nothing selected stays -1
    for (int i = 0; i < 4; ++i)
        write (names[i] + juce::String (".preset"), presetWithChannel (i));
    ASSERT_TRUE (makePipe ("A.preset"));
    start();

    const struct { int from; const char* button; int to; } steps[] { { 0, "left", 3 }, { 3, "right", 0 }, { -1, "left", 3 }, { -1, "right", 0 } };
    for (const auto& step : steps)
    {
        box().setSelectedItemIndex (step.from, juce::sendNotificationSync);
        ASSERT_EQ (bar->getCurrentIndex(), step.from);
        dismissModalComponents();
        const auto before = store.tree.createCopy();
        const auto loadsBefore = loads;

        click (step.button);
        const bool broken = step.to == 0;
        EXPECT_EQ (bar->getCurrentIndex(), step.to) << step.from << step.button;
        EXPECT_EQ (box().getText(), names[step.to]);
        EXPECT_EQ (loads, loadsBefore + (broken ? 0 : 2)); // the step's load, then the re-selection's
        EXPECT_EQ (countWindows ("Error while Loading XML"), broken ? 2 : 0);
        EXPECT_TRUE (broken ? store.tree.isEquivalentTo (before) : channel() == juce::String (step.to));
    }

    const auto loadsBefore = loads;
    for (int index : { 2, 2 })
        box().setSelectedItemIndex (index, juce::sendNotificationSync);
    EXPECT_EQ (loads, loadsBefore + 1); // choosing the selected item again loads nothing
    alarm (0);
}

// Long names were once written, then refused on reading back: the old preset
// was gone and the new one not listed.
TEST_F (PresetBarTest, SaveListsThePresetInPlaceKeepsLinksAndPermissionsAndAFailedOneKeepsTheOldFileByteForByteAndSaysSo)
{
    write ("Bass.preset", presetWithChannel (4));
    start();
    const auto file = folder.getChildFile ("Bass.preset");
    bool refused = false;
    expectedModal = "Saving Failed";
    answer = [&refused] (auto& alert) { refused = true; alert.exitModalState (0); };
    bar->saveToFile (folder.getChildFile ("Notes.txt"));
    EXPECT_TRUE (refused);

    // A full disk, a text past the size limit, and characters no preset can
    // hold (only code can put those into a store).
    const juce::String unsaveable[] { juce::String::repeatedString ("a", (int) PresetFileReader::maxFileSize), fromCodePoints ({ 'a', 1 }),
                                      fromCodePoints ({ 0x1b }), fromCodePoints ({ 0xfffe }), fromCodePoints ({ 0xffff }),
                                      fromCodePoints ({ 0xd800, 'x' }), fromCodePoints ({ 0xdfff }), fromCodePoints ({ 0x110000 }) };
    for (int cause = -1; cause < (int) std::size (unsaveable); ++cause)
    {
        {
            std::optional<FileSizeLimit> fullDisk;
            if (cause < 0)
                ASSERT_TRUE (fullDisk.emplace (100).applied);
            else
                store.setParameter ("fader2_text", unsaveable[cause], 0);
            bar->saveToFile (file);
        }
        EXPECT_EQ (countWindows ("Error while Saving"), 1) << cause;
        EXPECT_EQ (file.loadFileAsString(), presetWithChannel (4)) << cause;
        EXPECT_EQ (numFiles(), 2) << cause; // Init and Bass
        EXPECT_EQ (manager.currentPreset.name, "Init");
        dismissModalComponents();
    }

    juce::File offered;
    click ("save", [&offered] (auto& dialog) { offered = findChild<juce::FileBrowserComponent> (dialog)->getSelectedFile (0); dialog.exitModalState (0); });
    EXPECT_EQ (offered, folder.getChildFile ("preset_name.preset"));
    EXPECT_EQ (numFiles(), 2);

    // Confirmed: listed in its place, the box's text kept.
    juce::Random random (7);
    store.setParameter ("fader2_text", randomCarriableText (random, 100000), 0);
    click ("save", [] (auto& dialog) { findChild<juce::FileBrowserComponent> (dialog)->setFileName ("Mid.preset"); dialog.exitModalState (1); });
    EXPECT_TRUE (holdsStore (folder.getChildFile ("Mid.preset")));
    EXPECT_EQ (box().getItemText (2) + juce::String (bar->getCurrentIndex()) + box().getText(), "Mid2Init");

    // Saved over: a file keeps who may read it, an empty folder in the way
    // lends the new file nothing, and a link (into a synced folder, say)
    // stays a link to the file the kernel opens for it: ".." behind a linked
    // folder leaves the folder the link leads to, and "~" is a folder's name.
    // Nothing is written where the text, read as a juce::File path, leads.
    const auto at = [this] (const char* path) { return juce::File (folder.getFullPathName() + "/" + path); };
    const auto modeOf = [] (const juce::File& of) { struct stat status {}; return stat (of.getFullPathName().toRawUTF8(), &status) == 0 ? (int) (status.st_mode & 07777) : -1; };
    for (auto made : { "Shared", "~", "../Synced/Presets", "../Synced/Shared", "X.preset" })
        ASSERT_TRUE (at (made).createDirectory());
    ASSERT_EQ (symlink ("../Synced/Presets", at ("Via").getFullPathName().toRawUTF8()), 0);
    for (auto [saved, text, target, mode] : { std::tuple ("Via/Fav.preset", "../Shared/Fav.preset", "../Synced/Shared/Fav.preset", 0600), { "Home.preset", "~/x.preset", "~/x.preset", 0660 },
                                              { "X.preset", "", "X.preset", modeOf (at ("Mid.preset")) }, { "Bass.preset", "", "Bass.preset", 0640 } })
    {
        ASSERT_TRUE (*text == 0 || symlink (text, at (saved).getFullPathName().toRawUTF8()) == 0);
        ASSERT_TRUE (at (target).isDirectory() || (at (target).replaceWithText ("old") && chmod (at (target).getFullPathName().toRawUTF8(), (mode_t) mode) == 0));
        bar->saveToFile (at (saved));
        EXPECT_EQ (modeOf (at (target)), mode) << saved;
        EXPECT_TRUE (holdsStore (at (target)) && at (saved).isSymbolicLink() == (*text != 0)) << saved;
    }
    EXPECT_EQ (at ("Shared").getNumberOfChildFiles (juce::File::findFilesAndDirectories) + (int) juce::File ("~/x.preset").exists(), 0);
    EXPECT_EQ (countWindows ("Error while Saving"), 0);
    EXPECT_EQ (box().getItemText (bar->getCurrentIndex()), "Bass");
}
