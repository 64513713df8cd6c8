#include <gtest/gtest.h>

#include "TestSupport.h"
#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetBar.h"
#include "presets/PresetManager.h"
#include "presets/PresetManagerUI.h"

#include <dlfcn.h>

namespace
{
/** Xlib caches locale data when a window gets a title and keeps it until the
    process ends; JUCE unloads Xlib at shutdown, which leaves that cache
    unreachable and the leak checker reporting it. Keeping Xlib loaded until
    exit keeps the checker quiet about memory that is not ours. */
void keepXlibLoaded()
{
    dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NODELETE);
}

std::vector<juce::AlertWindow*> alertWindows (const juce::String& title)
{
    std::vector<juce::AlertWindow*> found;
    for (int i = 0; i < juce::TopLevelWindow::getNumTopLevelWindows(); ++i)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)))
            if (alert->getName() == title)
                found.push_back (alert);
    return found;
}

void closeAlertWindows()
{
    for (int i = juce::TopLevelWindow::getNumTopLevelWindows(); --i >= 0;)
        if (auto* alert = dynamic_cast<juce::AlertWindow*> (juce::TopLevelWindow::getTopLevelWindow (i)))
            alert->exitModalState (0);
    dispatchMessages (20);
}

/** Hands the modal window that the next message finds running to the
    action, when it is a W with the given title. Any other modal window is
    dismissed, so a wrong window fails the test instead of hanging it. */
template <typename W>
void answerModalWindow (const juce::String& title, std::function<void (W&)> action)
{
    juce::MessageManager::callAsync ([=]
    {
        auto* modal = juce::Component::getCurrentlyModalComponent();
        if (auto* window = dynamic_cast<W*> (modal); window != nullptr && window->getName() == title)
            action (*window);
        else if (modal != nullptr)
            modal->exitModalState (0);
    });
}

template <typename C>
C* findChild (juce::Component& parent)
{
    for (auto* component : parent.getChildren())
    {
        if (auto* typed = dynamic_cast<C*> (component))
            return typed;
        if (auto* nested = findChild<C> (*component))
            return nested;
    }
    return nullptr;
}

/** Counts how often a preset load replaced the store's tree. */
struct LoadCounter : juce::ValueTree::Listener
{
    int loads = 0;
    void valueTreeRedirected (juce::ValueTree&) override { ++loads; }
};

const juce::String brokenXml { "<nusk><GLIST>" };

juce::String presetWithChannel (int channel)
{
    return "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"" + juce::String (channel) + "\"/></GLIST></nusk>";
}

struct PresetBarTest : testing::Test
{
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    LoadCounter loadCounter;
    std::unique_ptr<PresetManagerUI> manager;
    std::unique_ptr<PresetBar> bar;

    juce::File userFolder { getUserPresetFolderPath ("nusk") };

    void SetUp() override
    {
        keepXlibLoaded();
        // Tests in one process share the temporary home: start from nothing.
        userFolder.deleteRecursively();
        userFolder.createDirectory();
        addDefaultParameters (store);
        store.tree.addListener (&loadCounter);
    }

    void TearDown() override
    {
        closeAlertWindows();
        bar.reset();
        manager.reset();
        store.tree.removeListener (&loadCounter);
    }

    void writePreset (const juce::String& name, const juce::String& content)
    {
        ASSERT_TRUE (userFolder.getChildFile (name + ".preset").replaceWithText (content));
    }

    /** Builds manager and bar as the top bar does, then lets the start-up load run. */
    void start()
    {
        manager = std::make_unique<PresetManagerUI> ("nusk");
        bar = std::make_unique<PresetBar> (store, *manager);
        bar->setSize (280, 26);
        dispatchMessages();
    }

    template <typename C>
    C& child (const juce::String& name)
    {
        for (auto* component : bar->getChildren())
            if (auto* typed = dynamic_cast<C*> (component); typed != nullptr && component->getName() == name)
                return *typed;
        throw std::runtime_error ("no child " + name.toStdString());
    }

    juce::ComboBox& box() { return child<juce::ComboBox> ({}); }

    void click (const juce::String& buttonName)
    {
        child<juce::DrawableButton> (buttonName).triggerClick();
        dispatchMessages();
    }

    /** The click's message comes first, so the answer finds the dialog running. */
    void clickSaveAndAnswer (std::function<void (juce::FileChooserDialogBox&)> action)
    {
        child<juce::DrawableButton> ("save").triggerClick();
        answerModalWindow<juce::FileChooserDialogBox> ("Choose a file to save...", action);
        dispatchMessages();
    }

    juce::String storedChannel() { return store.getParameter (channelSelectKey, globalList).toString(); }
};

juce::StringArray menuTexts (const juce::PopupMenu& menu)
{
    juce::StringArray texts;
    for (juce::PopupMenu::MenuItemIterator it (menu, true); it.next();)
        if (it.getItem().itemID != 0)
            texts.add (juce::String (it.getItem().itemID) + ":" + it.getItem().text);
    return texts;
}
} // namespace

TEST_F (PresetBarTest, FirstStartWritesInitPresetAndLoadsItThroughTheBox)
{
    manager = std::make_unique<PresetManagerUI> ("nusk");
    bar = std::make_unique<PresetBar> (store, *manager);

    const auto initFile = userFolder.getChildFile ("Init.preset");
    ASSERT_TRUE (initFile.existsAsFile());
    EXPECT_TRUE (juce::XmlDocument::parse (initFile)->isEquivalentTo (store.tree.createXml().get(), false));

    // Selected at once; only the load waits for the message loop.
    EXPECT_EQ (box().getSelectedId(), 1);
    EXPECT_EQ (box().getText(), "Init");
    EXPECT_EQ (loadCounter.loads, 0);
    EXPECT_FALSE (store.getParameter (channelSelectKey, globalList).isString());

    dispatchMessages();
    EXPECT_EQ (loadCounter.loads, 1);
    EXPECT_TRUE (store.getParameter (channelSelectKey, globalList).isString()); // read back from the file
    EXPECT_EQ (manager->currentPreset.file, initFile);
}

TEST_F (PresetBarTest, ExistingInitPresetIsKeptAndADirectoryCountsAsMissing)
{
    const auto initFile = userFolder.getChildFile ("Init.preset");
    writePreset ("Init", presetWithChannel (9));
    start();
    EXPECT_EQ (initFile.loadFileAsString(), presetWithChannel (9));
    EXPECT_EQ (storedChannel(), "9");

    // An empty folder in its place is written over.
    bar.reset();
    ASSERT_TRUE (initFile.deleteFile() && initFile.createDirectory());
    start();
    EXPECT_TRUE (initFile.existsAsFile());

    // A folder that cannot go: the write fails silently and the first listed preset starts.
    bar.reset();
    ASSERT_TRUE (initFile.deleteFile() && initFile.createDirectory());
    ASSERT_TRUE (initFile.getChildFile ("keep").replaceWithText ("x"));
    writePreset ("Bass", presetWithChannel (4));
    start();
    EXPECT_TRUE (initFile.isDirectory());
    EXPECT_EQ (box().getText(), "Bass");
    EXPECT_EQ (storedChannel(), "4");
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), 0);
}

TEST_F (PresetBarTest, PreviousAndNextWrapAroundTheList)
{
    writePreset ("A", brokenXml); // sorts first; a failed load keeps the position where it is
    for (int i = 1; i <= 3; ++i)
        writePreset ("P" + juce::String (i), presetWithChannel (i));
    start(); // A, Init, P1, P2, P3

    // Nothing selected: the bar counts from -1.
    box().setSelectedId (0, juce::sendNotificationSync);
    EXPECT_EQ (bar->getCurrentIndex(), -1);
    click ("left");
    EXPECT_EQ (bar->getCurrentIndex(), 4);
    EXPECT_EQ (box().getText(), "P3");
    EXPECT_EQ (storedChannel(), "3");

    click ("right");
    EXPECT_EQ (bar->getCurrentIndex(), 0);
    EXPECT_EQ (box().getText(), "A");

    click ("left");
    EXPECT_EQ (bar->getCurrentIndex(), 4);

    box().setSelectedId (0, juce::sendNotificationSync);
    EXPECT_EQ (bar->getCurrentIndex(), -1);
    click ("right");
    EXPECT_EQ (bar->getCurrentIndex(), 0);
}

TEST_F (PresetBarTest, StepsLoadTwiceAndASinglePresetOnce)
{
    writePreset ("Other", presetWithChannel (2));
    start();
    const auto afterStart = loadCounter.loads;

    click ("right"); // direct load, then the re-selection loads again
    EXPECT_EQ (loadCounter.loads, afterStart + 2);

    bar.reset();
    userFolder.getChildFile ("Other.preset").deleteFile();
    start();
    const auto withOne = loadCounter.loads;
    click ("right");
    EXPECT_EQ (loadCounter.loads, withOne + 1);
}

TEST_F (PresetBarTest, BrokenPresetShowsTwoBoxesOnNextAndOneWhenAlone)
{
    writePreset ("Zed", brokenXml);
    start();
    store.setParameter (channelSelectKey, 3, globalList);
    const auto before = store.tree.createCopy();

    click ("right");

    const auto boxes = alertWindows ("Error while Loading XML");
    ASSERT_EQ (boxes.size(), 2u);
    EXPECT_TRUE (boxes[0]->getDescription().contains ("Could not parse preset"));
    EXPECT_EQ (boxes[0]->getNumButtons(), 1);
    EXPECT_EQ (bar->getCurrentIndex(), 1);
    EXPECT_EQ (box().getText(), "Zed");
    EXPECT_TRUE (store.tree.isEquivalentTo (before));

    closeAlertWindows();
    bar.reset();
    userFolder.getChildFile ("Init.preset").replaceWithText (brokenXml);
    userFolder.getChildFile ("Zed.preset").deleteFile();
    start();
    closeAlertWindows(); // the start-up load fails too

    click ("right");
    EXPECT_EQ (alertWindows ("Error while Loading XML").size(), 1u);
}

TEST_F (PresetBarTest, ChoosingInTheBoxLoadsOnlyAChange)
{
    writePreset ("Other", presetWithChannel (6));
    start();
    const auto afterStart = loadCounter.loads;

    box().setSelectedId (1, juce::sendNotificationSync);
    EXPECT_EQ (loadCounter.loads, afterStart);

    box().setSelectedId (2, juce::sendNotificationSync);
    EXPECT_EQ (loadCounter.loads, afterStart + 1);
    EXPECT_EQ (storedChannel(), "6");
    EXPECT_EQ (bar->getCurrentIndex(), 1);
}

TEST_F (PresetBarTest, EmptyListLeavesStoreManagerAndBoxAlone)
{
    // The user folder is a file, so it cannot be created and nothing lists.
    userFolder.deleteRecursively();
    ASSERT_TRUE (userFolder.replaceWithText ("in the way"));
    start();
    ASSERT_TRUE (manager->presets.empty());

    const auto before = store.tree.createCopy();
    const auto loads = loadCounter.loads;
    const auto current = manager->currentPreset.file;

    click ("left");
    EXPECT_EQ (bar->getCurrentIndex(), -1);
    click ("right");
    EXPECT_EQ (bar->getCurrentIndex(), 0);

    EXPECT_TRUE (store.tree.isEquivalentTo (before));
    EXPECT_EQ (loadCounter.loads, loads);
    EXPECT_EQ (manager->currentPreset.file, current);
    EXPECT_TRUE (manager->presets.empty());
    EXPECT_EQ (box().getSelectedId(), 0);
    EXPECT_EQ (box().getText(), "");
    EXPECT_EQ (juce::TopLevelWindow::getNumTopLevelWindows(), 0);
}

TEST_F (PresetBarTest, UndoRevertsTheLastEditAndIgnoresAnEmptyHistory)
{
    start();
    undoManager.clearUndoHistory();
    const auto before = store.tree.createCopy();

    click ("undo");
    EXPECT_TRUE (store.tree.isEquivalentTo (before));

    undoManager.beginNewTransaction();
    store.setParameter (channelSelectKey, 11, globalList);
    click ("undo");
    EXPECT_EQ (storedChannel(), before.getChildWithName ("GLIST").getChild (0)["value"].toString());
}

TEST_F (PresetBarTest, SaveAddsThePresetInSortedPlaceAndKeepsTheBoxText)
{
    writePreset ("Zed", presetWithChannel (1));
    start();
    store.setParameter (channelSelectKey, 13, globalList);

    const auto file = userFolder.getChildFile ("Mid.preset");
    bar->saveToFile (file);

    EXPECT_TRUE (juce::XmlDocument::parse (file)->isEquivalentTo (store.tree.createXml().get(), false));
    EXPECT_EQ (menuTexts (*box().getRootMenu()), juce::StringArray ({ "1:Init", "2:Mid", "3:Zed" }));
    EXPECT_EQ (bar->getCurrentIndex(), 1);
    EXPECT_EQ (manager->currentPreset.file, file);
    EXPECT_EQ (box().getText(), "Init");

    // The next step counts from the saved preset.
    click ("right");
    EXPECT_EQ (box().getText(), "Zed");
}

TEST_F (PresetBarTest, SaveRefusesOtherExtensionsButTakesAnyCase)
{
    start();
    bool refused = false;
    answerModalWindow<juce::AlertWindow> ("Saving Failed", [&refused] (juce::AlertWindow& alert)
    {
        refused = alert.getNumButtons() == 2;
        alert.exitModalState (0);
    });

    const auto text = userFolder.getChildFile ("Notes.txt");
    bar->saveToFile (text);

    EXPECT_TRUE (refused);
    EXPECT_FALSE (text.exists());
    EXPECT_EQ (manager->presets.size(), 1u);
    EXPECT_EQ (manager->currentPreset.name, "Init");

    const auto upper = userFolder.getChildFile ("Loud.PRESET");
    bar->saveToFile (upper);
    EXPECT_TRUE (upper.existsAsFile());
    EXPECT_EQ (manager->currentPreset.file, upper);
    EXPECT_TRUE (alertWindows ("Error while Saving").empty());
}

TEST_F (PresetBarTest, UnwritableSaveIsReportedAndChangesNothing)
{
    start();
    ASSERT_TRUE (userFolder.getChildFile ("blocker").replaceWithText ("a file, not a folder"));

    // Tests may run as root, where a read-only folder still takes writes, so
    // the targets are under a regular file and in a missing folder.
    const juce::File targets[] { userFolder.getChildFile ("blocker").getChildFile ("New.preset"),
                                 userFolder.getChildFile ("missing").getChildFile ("New.preset") };

    for (const auto& target : targets)
    {
        bar->saveToFile (target);

        const auto boxes = alertWindows ("Error while Saving");
        ASSERT_EQ (boxes.size(), 1u) << target.getFullPathName();
        EXPECT_TRUE (boxes[0]->getDescription().contains ("could not be written"));
        EXPECT_FALSE (target.exists());
        EXPECT_EQ (manager->presets.size(), 1u);
        EXPECT_EQ (manager->currentPreset.name, "Init");
        EXPECT_EQ (bar->getCurrentIndex(), 0);
        closeAlertWindows();
    }
}

TEST_F (PresetBarTest, SaveButtonAsksForAFileInTheUserFolder)
{
    start();

    // Cancelled: nothing changes, and the chooser stays with the manager.
    juce::File offered;
    clickSaveAndAnswer ([&offered] (juce::FileChooserDialogBox& dialog)
    {
        if (auto* browser = findChild<juce::FileBrowserComponent> (dialog))
            offered = browser->getSelectedFile (0);
        dialog.exitModalState (0);
    });
    EXPECT_EQ (offered, userFolder.getChildFile ("preset_name.preset"));
    EXPECT_NE (manager->chooser, nullptr);
    EXPECT_EQ (manager->presets.size(), 1u);

    // Confirmed with a typed name: the file is saved and listed.
    clickSaveAndAnswer ([] (juce::FileChooserDialogBox& dialog)
    {
        if (auto* browser = findChild<juce::FileBrowserComponent> (dialog))
            browser->setFileName ("Typed.preset");
        dialog.exitModalState (1);
    });
    EXPECT_TRUE (userFolder.getChildFile ("Typed.preset").existsAsFile());
    EXPECT_EQ (manager->presets.size(), 2u);
    EXPECT_EQ (bar->getCurrentIndex(), 1);
}
