// The upload through JUCE's own ALSA MIDI output code, against outputs that
// the preloaded sequencer stand-in (SequencerStandIn.cpp) takes from a file.

#include "editor/PanelHarness.h"
#include "editor/ConfigurationMessages.h"

#include <cstdlib>
#include <functional>

namespace
{
juce::String hexOf (const std::vector<uint8_t>& bytes)
{
    return juce::String::toHexString (bytes.data(), (int) bytes.size()).toUpperCase();
}
} // namespace

struct Upload : PanelHarness
{
    Upload()
    {
        setenv ("SEQUENCER_STAND_IN_OUTPUTS", outputsFile.getFullPathName().toRawUTF8(), 1);
        setenv ("SEQUENCER_STAND_IN_LOG", logFile.getFullPathName().toRawUTF8(), 1);
    }

    /** Replaces the outputs present, "client:port name" each. */
    void plug (const juce::StringArray& outputs)
    {
        ASSERT_TRUE (outputsFile.replaceWithText (outputs.joinIntoString ("\n"), false, false, "\n"));
    }

    /** The lines logged since the last call, one per line. */
    juce::String takeLog()
    {
        const auto lines = logFile.loadFileAsString().trimEnd();
        logFile.deleteFile();
        return lines;
    }

    /** A press on the selector (which refills it) and a pick in its pop-up.
        When another window on the display takes the focus, the framework
        closes the pop-up at once; then the selector is pressed again. */
    void pick (const juce::String& text)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            auto* menu = pressSelector();
            if (menu == nullptr)
                continue;

            auto* item = findItem (*menu, text);
            ASSERT_NE (item, nullptr) << "no item " << text << " in the pop-up list";
            ASSERT_TRUE (item->getActions().invoke (juce::AccessibilityActionType::press));
            dispatchMessages (100);
            ASSERT_EQ (panel->topBar.deviceSelector.getText(), text);
            return;
        }
        FAIL() << "the pop-up list never stayed open";
    }

    static juce::AccessibilityHandler* findItem (juce::Component& menu, const juce::String& text)
    {
        for (auto* item : menu.getChildren())
            if (auto* handler = item->getAccessibilityHandler(); handler != nullptr && handler->getTitle() == text)
                return handler;
        return nullptr;
    }

    /** Presses the selector and waits for its pop-up list; null when the list
        closed before it could be seen. */
    juce::Component* pressSelector()
    {
        auto& selector = panel->topBar.deviceSelector;
        panel->getPeer()->grabFocus();
        click (selector);
        for (int i = 0; i < 400 && selector.isPopupActive(); ++i)
        {
            if (auto* modal = juce::Component::getCurrentlyModalComponent(); modal != nullptr && modal->getName() == "menu")
                return modal;
            dispatchMessages (5);
        }
        return nullptr;
    }

    void closePopupWithoutChoice()
    {
        juce::PopupMenu::dismissAllActiveMenus();
        dispatchMessages (100);
    }

    /** What one upload to the output is expected to leave in the log. */
    juce::String uploadTo (const juce::String& output)
    {
        const auto address = output.upToFirstOccurrenceOf (" ", false, false);
        const auto settings = buildSettingsMessage (store, { panel->headerByte3, panel->headerByte2, panel->headerByte1 });
        const auto names = buildNamesMessage (store);
        EXPECT_EQ (settings.size(), 103u);
        EXPECT_EQ (names.size(), 82u);
        return juce::StringArray { "open " + output, "send " + address + " " + hexOf (settings),
                                   "send " + address + " " + hexOf (names), "close " + output }
            .joinIntoString ("\n");
    }

    void expectNothingSelected()
    {
        const auto& selector = panel->topBar.deviceSelector;
        EXPECT_EQ (selector.getSelectedId(), 0);
        EXPECT_EQ (selector.getText(), "");
        EXPECT_EQ (selector.getTextWhenNothingSelected(), "Select MIDI Device");
    }

    juce::File folder = testConfigFolder();
    juce::File outputsFile = folder.getChildFile ("midi-outputs");
    juce::File logFile = folder.getChildFile ("midi-log");
};

TEST_F (Upload, EveryPressSendsBothMessagesToThePickedOutputOnly)
{
    plug ({ "20:0 Out A", "24:0 Out B" });
    open();
    ASSERT_EQ (juce::MidiOutput::getAvailableDevices().size(), 2) << "the sequencer stand-in is not preloaded";

    pick ("Out B");
    EXPECT_EQ (takeLog(), "open 24:0 Out B\nclose 24:0 Out B");

    click (panel->uploadButton);
    click (panel->uploadButton);
    EXPECT_EQ (takeLog(), uploadTo ("24:0 Out B") + "\n" + uploadTo ("24:0 Out B"));
    EXPECT_EQ (panel->topBar.deviceSelector.getText(), "Out B");
}

// The picked output has gone: its place in the list, and even its identifier,
// may now belong to another device.
TEST_F (Upload, AGonePickSendsNothingClearsTheSelectionAndCanBePickedAgain)
{
    open();
    const juce::StringArray plugged { "20:0 Out A", "24:0 Out B" };
    struct Case
    {
        juce::String picked;
        juce::StringArray afterUnplugging;
    };
    const Case cases[] {
        { "20:0 Out A", { "24:0 Out B" } },               // the next output moves up to its place
        { "24:0 Out B", {} },                             // no outputs left
        { "24:0 Out B", { "20:0 Out A", "24:0 Other" } }, // another device under its identifier
        { "24:0 Out B", { "20:0 Out A", "28:0 Out B" } }, // the same name under another identifier
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.picked + " then " + c.afterUnplugging.joinIntoString (", "));
        const auto name = c.picked.fromFirstOccurrenceOf (" ", false, false);
        plug (plugged);
        pick (name);
        takeLog();

        plug (c.afterUnplugging);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), "");
        expectNothingSelected();

        plug (plugged);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), "") << "the cleared selection still sends";

        pick (name);
        takeLog();
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), uploadTo (c.picked));
    }
}

TEST_F (Upload, AnOutputWithoutANameShiftsNoPick)
{
    plug ({ "20:0 A", "21:0 ", "22:0 C" });
    auto& selector = open().topBar.deviceSelector;

    pick ("C");
    EXPECT_EQ (selector.getNumItems(), 2);
    EXPECT_EQ (takeLog(), "open 22:0 C\nclose 22:0 C");

    click (panel->uploadButton);
    EXPECT_EQ (takeLog(), uploadTo ("22:0 C"));
}

TEST_F (Upload, NothingIsSentWithoutASelection)
{
    open();
    struct Case
    {
        const char* name;
        juce::StringArray outputs;
        std::function<void (Upload&)> leaveSelector;
    };
    const Case cases[] {
        { "nothing picked", { "20:0 Out A" }, [] (Upload&) {} },
        { "empty list", {}, [] (Upload& test) { test.pressSelector(); test.closePopupWithoutChoice(); } },
        { "a second press drops the pick", { "20:0 Out A", "24:0 Out B" },
          [] (Upload& test) { test.pick ("Out B"); test.pressSelector(); test.closePopupWithoutChoice(); } },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        plug (c.outputs);
        c.leaveSelector (*this);
        takeLog();

        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), "");
        expectNothingSelected();
    }
    EXPECT_EQ (panel->topBar.deviceSelector.getNumItems(), 2);
}
