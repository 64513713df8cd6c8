#include "PresetTestSupport.h"

#include "presets/PresetBar.h"
#include "presets/PresetFileReader.h"

#include <csignal>
#include <linux/capability.h>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
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

// While it lives, the folder cannot be written to. Tests may run as root,
// which passes over permission bits; without CAP_DAC_OVERRIDE this thread
// obeys them like any user.
struct WriteProtectedFolder
{
    explicit WriteProtectedFolder (const juce::File& folderToProtect) : folder (folderToProtect)
    {
        syscall (SYS_capget, &header, saved);
        __user_cap_data_struct reduced[2] { saved[0], saved[1] };
        reduced[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
        syscall (SYS_capset, &header, reduced);
        folder.setReadOnly (true, false);
        applied = ! folder.getNonexistentChildFile ("probe", ".tmp").create().wasOk();
    }
    ~WriteProtectedFolder() { folder.setReadOnly (false, false); syscall (SYS_capset, &header, saved); }

    juce::File folder;
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct saved[2] {};
    bool applied = false;
};

int countWindows (const juce::String& title)
{
    int count = 0;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        count += juce::TopLevelWindow::getTopLevelWindow (i)->getName() == title ? 1 : 0;
    return count;
}

// Queued: hands the modal window then running to the answer when it has the title;
// any other, or any at all without an answer, is dismissed, so an unexpected
// window fails the test instead of hanging it.
void answerModal (const juce::String& title, std::function<void (juce::Component&)> answer)
{
    juce::MessageManager::callAsync ([=]
    {
        if (auto* modal = juce::Component::getCurrentlyModalComponent())
            modal->getName() == title && answer ? answer (*modal) : modal->exitModalState (0);
    });
}

const juce::String brokenXml { "<nusk><GLIST>" };
const juce::String loadError { "Error while Loading XML" };

juce::String presetWithChannel (int channel) { return "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"" + juce::String (channel) + "\"/></GLIST></nusk>"; }

// Counts the loads: each puts a new tree in place of the store's.
struct PresetBarTest : testing::Test, juce::ValueTree::Listener
{
    juce::UndoManager undoManager;
    ParameterStore store { &undoManager };
    int loads = 0;
    std::unique_ptr<PresetManagerUI> manager;
    std::unique_ptr<PresetBar> bar;
    juce::File folder { getUserPresetFolderPath ("nusk") };
    juce::File initFile { folder.getChildFile ("Init.preset") };

    void SetUp() override
    {
        // Tests in one process share the temporary home: start from nothing.
        folder.deleteRecursively();
        folder.createDirectory();
        addDefaultParameters (store);
        store.tree.addListener (this);
    }

    void TearDown() override { dismissModalComponents(); }
    void valueTreeRedirected (juce::ValueTree&) override { ++loads; }

    void write (const juce::String& name, const juce::String& text) { ASSERT_TRUE (folder.getChildFile (name + ".preset").replaceWithText (text)); }

    // Builds manager and bar as the top bar does; the start-up load runs when asked.
    void start (bool runLoop = true)
    {
        bar.reset();
        manager = std::make_unique<PresetManagerUI> ("nusk");
        bar = std::make_unique<PresetBar> (store, *manager);
        if (runLoop) dispatchMessages();
    }

    // An answer queued behind the click finds the save dialog running.
    void click (const juce::String& button, std::function<void (juce::Component&)> answer = {})
    {
        findChild<juce::DrawableButton> (*bar, button)->triggerClick();
        if (answer) answerModal ("Choose a file to save...", answer);
        dispatchMessages();
    }

    juce::ComboBox& box() { return *findChild<juce::ComboBox> (*bar); }
    juce::String channel() { return store.getParameter (channelSelectKey, globalList).toString(); }
    bool holdsStore (const juce::File& file)
    {
        const auto xml = PresetFileReader::parse (file);
        return xml != nullptr && xml->isEquivalentTo (store.tree.createXml().get(), false);
    }

    int numFiles() { return countFilesBelow (folder); }
};
} // namespace

TEST_F (PresetBarTest, InitIsWrittenFromTheStoreOnlyWhenNoFileHasItsName)
{
    start (false);
    EXPECT_TRUE (holdsStore (initFile));
    EXPECT_EQ (loads, 0); // the start-up load waits for the message loop
    dispatchMessages();
    EXPECT_EQ (loads, 1);

    write ("Init", presetWithChannel (9));
    start();
    EXPECT_EQ (initFile.loadFileAsString(), presetWithChannel (9));

    // An empty folder is written over.
    ASSERT_TRUE (initFile.deleteFile() && initFile.createDirectory());
    start();
    EXPECT_TRUE (initFile.existsAsFile());

    // A folder that cannot go: the write fails silently and the first listed preset starts.
    ASSERT_TRUE (initFile.deleteFile() && initFile.getChildFile ("keep").create());
    write ("Bass", presetWithChannel (4));
    start();
    EXPECT_EQ (box().getText(), "Bass");
    EXPECT_EQ (channel(), "4");
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), 0);
}

TEST_F (PresetBarTest, StepsLoadOnceWrapAroundCountFromNothingSelectedAndStopAtABrokenPreset)
{
    start(); // Init alone: a step loads it once, or shows one box when it is broken
    click ("right");
    EXPECT_EQ (loads, 2);
    write ("Init", brokenXml);
    click ("left");
    EXPECT_EQ (countWindows (loadError), 1);

    const char* names[] { "A", "Init", "P2", "P3" }; // A fails to load, so nothing selected stays -1
    for (int i = 0; i < 4; ++i)
        write (names[i], i == 0 ? brokenXml : presetWithChannel (i));
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
        EXPECT_EQ (countWindows (loadError), broken ? 2 : 0);
        EXPECT_TRUE (broken ? store.tree.isEquivalentTo (before) : channel() == juce::String (step.to));
    }

    const auto loadsBefore = loads;
    for (int index : { 2, 2 })
        box().setSelectedItemIndex (index, juce::sendNotificationSync);
    EXPECT_EQ (loads, loadsBefore + 1); // choosing the selected item again loads nothing
    EXPECT_EQ (channel(), "2");
}

TEST_F (PresetBarTest, UndoRevertsAnEditAndWithNothingListedOrToUndoTheButtonsChangeNothing)
{
    folder.deleteRecursively();
    ASSERT_TRUE (folder.replaceWithText ("in the way")); // so nothing can be listed
    start();
    undoManager.clearUndoHistory();
    const auto before = store.tree.createCopy();
    for (auto* button : { "left", "right", "undo" })
        click (button);
    EXPECT_TRUE (store.tree.isEquivalentTo (before));
    EXPECT_EQ (loads, 0);
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), 0);

    undoManager.beginNewTransaction();
    store.setParameter (channelSelectKey, 11, globalList);
    click ("undo");
    EXPECT_TRUE (store.tree.isEquivalentTo (before));
}

// Long names were once written, then refused on reading back: the old preset
// was gone and the new one not listed.
TEST_F (PresetBarTest, SaveListsThePresetInPlaceHoweverLongItsNamesAndARefusedOrFailedOneKeepsTheOldFileByteForByteAndSaysSo)
{
    write ("Bass", presetWithChannel (4));
    start();
    const auto file = folder.getChildFile ("Bass.preset");
    bool refused = false;
    answerModal ("Saving Failed", [&refused] (auto& alert) { refused = true; alert.exitModalState (0); });
    bar->saveToFile (folder.getChildFile ("Notes.txt"));
    EXPECT_TRUE (refused);

    store.setParameter ("fader1_text", "new", 0);
    for (int cause = 0; cause < 3; ++cause)
    {
        {
            std::optional<FileSizeLimit> limit;
            std::optional<WriteProtectedFolder> protection;
            if (cause == 0)
                ASSERT_TRUE (limit.emplace (100).applied);
            else if (cause == 1)
                ASSERT_TRUE (protection.emplace (folder).applied);
            else
                store.setParameter ("fader2_text", juce::String::charToString (0x7), 0); // only code can do this
            bar->saveToFile (file);
        }
        EXPECT_EQ (countWindows ("Error while Saving"), 1) << cause;
        EXPECT_EQ (file.loadFileAsString(), presetWithChannel (4)) << cause;
        EXPECT_EQ (numFiles(), 2) << cause; // Init and Bass
        EXPECT_EQ (manager->currentPreset.name, "Init");
        dismissModalComponents();
    }

    juce::File offered;
    click ("save", [&offered] (auto& dialog) { offered = findChild<juce::FileBrowserComponent> (dialog)->getSelectedFile (0); dialog.exitModalState (0); });
    EXPECT_EQ (offered, folder.getChildFile ("preset_name.preset"));
    EXPECT_EQ (numFiles(), 2);
    EXPECT_EQ (manager->currentPreset.name, "Init");

    // Confirmed: listed in its place, the box's text kept.
    juce::Random random (7);
    store.setParameter ("fader2_text", randomCarriableText (random, 100000), 0);
    click ("save", [] (auto& dialog) { findChild<juce::FileBrowserComponent> (dialog)->setFileName ("Mid.preset"); dialog.exitModalState (1); });
    EXPECT_TRUE (holdsStore (folder.getChildFile ("Mid.preset")));
    EXPECT_EQ (box().getItemText (2), "Mid");
    EXPECT_EQ (bar->getCurrentIndex(), 2);
    EXPECT_EQ (box().getText(), "Init");

    const auto saved = store.tree.createXml();
    click ("save", [] (auto& dialog) { findChild<juce::FileBrowserComponent> (dialog)->setFileName ("Bass.preset"); dialog.exitModalState (1); });
    EXPECT_EQ (countWindows ("Error while Saving"), 0);
    EXPECT_EQ (box().getItemText (bar->getCurrentIndex()), "Bass");
    EXPECT_EQ (numFiles(), 3);
    manager->loadPreset (manager->makePreset (file), store);
    EXPECT_TRUE (store.tree.createXml()->isEquivalentTo (saved.get(), false));

    answerModal ({}, {}); // dismisses a refusal
    bar->saveToFile (folder.getChildFile ("Loud.PRESET"));
    EXPECT_EQ (manager->currentPreset.name, "Loud");
}
