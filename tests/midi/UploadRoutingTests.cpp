// The upload through JUCE's own ALSA MIDI output code, against outputs that
// the preloaded sequencer stand-in (SequencerStandIn.cpp) takes from a file.

#include "editor/PanelHarness.h"

#include <cstdlib>
#include <optional>

struct Upload : PanelHarness
{
    Upload()
    {
        setenv ("SEQUENCER_STAND_IN_OUTPUTS", outputsFile.getFullPathName().toRawUTF8(), 1);
        setenv ("SEQUENCER_STAND_IN_LATER_OUTPUTS", laterOutputsFile.getFullPathName().toRawUTF8(), 1);
        setenv ("SEQUENCER_STAND_IN_LOG", logFile.getFullPathName().toRawUTF8(), 1);
        deadline.startTimer (10000);
    }

    /** Replaces the outputs present, "client:port name" each; with
        afterNextScan, only once the next scan has read the present ones. */
    void plug (const juce::StringArray& outputs, bool afterNextScan = false)
    {
        ASSERT_TRUE ((afterNextScan ? laterOutputsFile : outputsFile).replaceWithText (outputs.joinIntoString ("\n"), false, false, "\n"));
    }

    /** The lines logged since the last call. */
    juce::String takeLog()
    {
        const auto lines = logFile.loadFileAsString().trimEnd();
        logFile.deleteFile();
        return lines;
    }

    /** A press on the selector (which refills it) and a pick in its pop-up
        list, with the outputs replaced in between when given. */
    void pick (const juce::String& text, std::optional<juce::StringArray> outputsAtThePick = {})
    {
        auto* menu = pressSelector();
        ASSERT_NE (menu, nullptr) << "the pop-up list did not open";
        if (outputsAtThePick)
            plug (*outputsAtThePick);
        for (auto* item : menu->getChildren())
            if (auto* handler = item->getAccessibilityHandler(); handler != nullptr && handler->getTitle() == text)
                handler->getActions().invoke (juce::AccessibilityActionType::press);
        dispatchMessages (100);
    }

    /** Presses the selector and waits up to two seconds for its pop-up list. */
    juce::Component* pressSelector()
    {
        panel->getPeer()->grabFocus();
        click (panel->topBar.deviceSelector);
        for (const auto end = juce::Time::getMillisecondCounter() + 2000; juce::Time::getMillisecondCounter() < end; dispatchMessages (5))
            if (auto* modal = juce::Component::getCurrentlyModalComponent(); modal != nullptr && modal->getName() == "menu")
                return modal;
        return nullptr;
    }

    juce::File home = juce::File::getSpecialLocation (juce::File::userHomeDirectory); // the test process's own
    juce::File outputsFile = home.getChildFile ("midi-outputs");
    juce::File laterOutputsFile = home.getChildFile ("midi-outputs-later");
    juce::File logFile = home.getChildFile ("midi-log");

    /** Each test is over in seconds: a modal loop that holds it longer (a
        message box would) is ended, and the test fails. */
    struct Deadline : juce::Timer
    {
        void timerCallback() override
        {
            if (getTimerInterval() > 100)
                ADD_FAILURE() << "a modal loop held the test";
            startTimer (100); // and from now on, every modal loop ends at once
            juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
        }
    } deadline;
};

// An output without a name gets no item, and must shift no pick to its
// neighbour. The outputs change while the second upload scans them: what it
// opened was still the output picked, and a newcomer under its identifier
// changes nothing for that upload. A further press on the selector drops the
// pick.
TEST_F (Upload, EveryPressSendsBothMessagesToThePickedOutputOnly)
{
    // The store's defaults as open() leaves them, in 14-bit mode.
    const juce::String settings = "F0 01 00 00 01 01 00 01 02 03 00 01 02 03 7F 7F 7F 7F 7F 7F 7F 7F 00 00 00 00 00 00 00 00 04 05 06 07 04 05 06 07 7F 7F 7F 7F 7F 7F 7F 7F 00 00 00 00 00 00 00 00 08 09 0A 0B 08 09 0A 0B 7F 7F 7F 7F 7F 7F 7F 7F 00 00 00 00 00 00 00 00 0C 0D 0E 0F 0C 0D 0E 0F 7F 7F 7F 7F 7F 7F 7F 7F 00 00 00 00 00 00 00 00 F7";
    const juce::String names = "F0 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 75 6E 73 65 74 F7";
    open();
    plug ({ "20:0 Out A", "21:0 ", "24:0 Out B" });
    pick ("Out B");
    EXPECT_EQ (takeLog(), "open 24:0 Out B\nclose 24:0 Out B");

    click (panel->uploadButton);
    plug ({ "20:0 Out A", "21:0 ", "24:0 Other" }, true);
    click (panel->uploadButton);
    const auto upload = "open 24:0 Out B\nsend 24:0 " + settings + "\nsend 24:0 " + names + "\nclose 24:0 Out B";
    EXPECT_EQ (takeLog(), upload + "\n" + upload);

    pressSelector();
    juce::PopupMenu::dismissAllActiveMenus();
    dispatchMessages (100);
    click (panel->uploadButton);
    EXPECT_EQ (takeLog(), "") << "a closed list kept the pick";
}

// The picked output has gone by the upload or by the pick: its place in the
// list, its name, and even its identifier may now belong to another device,
// which may be opened to find that out but gets nothing. Nothing is shown; the
// user picks again, and a pick cleared at once sends nothing even when its
// output is back by the upload.
TEST_F (Upload, AGonePickSendsNothingAndClearsTheSelection)
{
    open();
    const juce::StringArray plugged { "20:0 Out A", "24:0 Out B" };
    for (auto [picked, changed, atThePick, log] : { std::tuple (juce::String ("20:0 Out A"), juce::StringArray { "24:0 Out B", "28:0 Out A" }, false, juce::String ("open 20:0 Out A\nclose 20:0 Out A")), // the next output moves up, the name moves to another identifier
                                                    { "24:0 Out B", { "20:0 Out A", "24:0 Other" }, false, "open 24:0 Out B\nclose 24:0 Out B\nopen 24:0 Other\nclose 24:0 Other" }, // another device under its identifier
                                                    { "24:0 Out B", { "20:0 Out A", "24:0 Other" }, true, "open 24:0 Other\nclose 24:0 Other" },
                                                    { "24:0 Out B", { "20:0 Out A" }, true, "" } })
    {
        SCOPED_TRACE (picked + " then " + changed.joinIntoString (", ") + (atThePick ? " at the pick" : " at the upload"));
        plug (plugged);
        pick (picked.fromFirstOccurrenceOf (" ", false, false), atThePick ? std::optional (changed) : std::nullopt);
        plug (atThePick ? plugged : changed);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), log);
        EXPECT_EQ (panel->topBar.deviceSelector.getText(), "");
        EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0) << "a message box came up";
    }
}
