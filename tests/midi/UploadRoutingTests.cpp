// The upload through JUCE's own ALSA MIDI output code, against outputs that
// the preloaded sequencer stand-in (SequencerStandIn.cpp) takes from a file.

#include "editor/PanelHarness.h"
#include "editor/ConfigurationMessages.h"

#include <cstdlib>
#include <functional>
#include <optional>

struct Upload : PanelHarness
{
    Upload()
    {
        setenv ("SEQUENCER_STAND_IN_OUTPUTS", outputsFile.getFullPathName().toRawUTF8(), 1);
        setenv ("SEQUENCER_STAND_IN_LOG", logFile.getFullPathName().toRawUTF8(), 1);
        setenv ("SEQUENCER_STAND_IN_LATER_OUTPUTS", laterOutputsFile.getFullPathName().toRawUTF8(), 1);
    }

    /** Replaces the outputs present, "client:port name" each; with the later
        file, only once the next scan of the outputs has been made. */
    void plug (const juce::StringArray& outputs, const juce::File& file)
    {
        ASSERT_TRUE (file.replaceWithText (outputs.joinIntoString ("\n"), false, false, "\n"));
    }
    void plug (const juce::StringArray& outputs) { plug (outputs, outputsFile); }

    /** The lines logged since the last call. */
    juce::String takeLog()
    {
        const auto lines = logFile.loadFileAsString().trimEnd();
        logFile.deleteFile();
        return lines;
    }

    /** A press on the selector (which refills it) and a pick in its pop-up,
        with the outputs replaced in between when given. */
    void pick (const juce::String& text, std::optional<juce::StringArray> outputsAtThePick = {})
    {
        auto* menu = pressSelector();
        ASSERT_NE (menu, nullptr) << "the pop-up list did not open";
        if (outputsAtThePick)
            plug (*outputsAtThePick);
        bool picked = false;
        for (auto* item : menu->getChildren())
            if (auto* handler = item->getAccessibilityHandler(); handler != nullptr && handler->getTitle() == text)
                picked = handler->getActions().invoke (juce::AccessibilityActionType::press);
        dispatchMessages (100);
        ASSERT_TRUE (picked) << "no item " << text << " in the pop-up list";
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

    void pressSelectorAndCloseItsList()
    {
        pressSelector();
        juce::PopupMenu::dismissAllActiveMenus();
        dispatchMessages (100);
    }

    /** What one upload to the output is expected to leave in the log. */
    juce::String uploadTo (const juce::String& output)
    {
        const auto settings = buildSettingsMessage (store, { panel->headerByte3, panel->headerByte2, panel->headerByte1 });
        const auto names = buildNamesMessage (store);
        EXPECT_EQ (settings.size(), 103u);
        EXPECT_EQ (names.size(), 82u);
        const auto send = "send " + output.upToFirstOccurrenceOf (" ", false, false) + " ";
        return juce::StringArray { "open " + output, send + juce::String::toHexString (settings.data(), (int) settings.size()).toUpperCase(),
                                   send + juce::String::toHexString (names.data(), (int) names.size()).toUpperCase(), "close " + output }
            .joinIntoString ("\n");
    }

    void expectNothingSelected()
    {
        const auto& selector = panel->topBar.deviceSelector;
        EXPECT_EQ (selector.getSelectedId(), 0);
        EXPECT_EQ (selector.getText(), "");
        EXPECT_EQ (selector.getTextWhenNothingSelected(), "Select MIDI Device");
        EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 0) << "a message box came up";
    }

    juce::File folder = testConfigFolder();
    juce::File outputsFile = folder.getChildFile ("midi-outputs");
    juce::File logFile = folder.getChildFile ("midi-log");
    juce::File laterOutputsFile = folder.getChildFile ("midi-outputs-later");
};

// An output without a name gets no item, and must shift no pick to its
// neighbour. The outputs change while the second press scans them: what it
// opened was still the output picked, and a newcomer under its identifier, or
// its being gone, changes nothing for that press.
TEST_F (Upload, EveryPressSendsBothMessagesToThePickedOutputOnly)
{
    open();
    for (auto [outputs, picked, later] : { std::tuple (juce::StringArray { "20:0 Out A", "24:0 Out B" }, juce::String ("24:0 Out B"), juce::StringArray { "20:0 Out A", "24:0 Other" }),
                                           { { "20:0 A", "21:0 ", "22:0 C" }, "22:0 C", {} } })
    {
        SCOPED_TRACE (picked);
        plug (outputs);
        ASSERT_EQ (juce::MidiOutput::getAvailableDevices().size(), outputs.size()) << "the sequencer stand-in is not preloaded";
        pick (picked.fromFirstOccurrenceOf (" ", false, false));
        EXPECT_EQ (panel->topBar.deviceSelector.getNumItems(), 2);
        EXPECT_EQ (takeLog(), "open " + picked + "\nclose " + picked);

        click (panel->uploadButton);
        plug (later, laterOutputsFile);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), uploadTo (picked) + "\n" + uploadTo (picked));
    }
}

// The picked output has gone by the upload or by the pick: its place in the
// list, and even its identifier, may now belong to another device, which may
// be opened to find that out but gets nothing; the user picks again.
TEST_F (Upload, AGonePickSendsNothingClearsTheSelectionAndCanBePickedAgain)
{
    open();
    const juce::StringArray plugged { "20:0 Out A", "24:0 Out B" };
    const juce::String other = "open 24:0 Other\nclose 24:0 Other";
    for (auto [picked, changed, atThePick, log] : { std::tuple (juce::String ("20:0 Out A"), juce::StringArray { "24:0 Out B" }, false, juce::String()), // the next output moves up
                                                    { "24:0 Out B", {}, false, "" },                                                      // no outputs left
                                                    { "24:0 Out B", { "20:0 Out A", "24:0 Other" }, false, other }, // another device under its identifier
                                                    { "24:0 Out B", { "20:0 Out A", "28:0 Out B" }, false, "" },    // the same name under another one
                                                    { "24:0 Out B", { "20:0 Out A", "24:0 Other" }, true, other },
                                                    { "24:0 Out B", { "20:0 Out A" }, true, "" } })
    {
        SCOPED_TRACE (picked + " then " + changed.joinIntoString (", ") + (atThePick ? " at the pick" : " at the upload"));
        const auto name = picked.fromFirstOccurrenceOf (" ", false, false);
        plug (plugged);
        if (atThePick)
            pick (name, changed);
        else
        {
            pick (name);
            EXPECT_EQ (takeLog(), "open " + picked + "\nclose " + picked);
            plug (changed);
            click (panel->uploadButton);
        }
        EXPECT_EQ (takeLog(), log);
        expectNothingSelected();

        plug (plugged);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), "") << "the cleared selection still sends";

        pick (name);
        takeLog();
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), uploadTo (picked));
    }
}

TEST_F (Upload, NothingIsSentWithoutASelection)
{
    open();
    for (auto [name, outputs, leaveSelector] : { std::tuple ("nothing picked", juce::StringArray { "20:0 Out A" }, std::function<void (Upload&)> ([] (Upload&) {})),
                                                 { "empty list", {}, [] (Upload& test) { test.pressSelectorAndCloseItsList(); } },
                                                 { "a second press drops the pick", { "20:0 Out A", "24:0 Out B" },
                                                   [] (Upload& test) { test.pick ("Out B"); test.pressSelectorAndCloseItsList(); } } })
    {
        SCOPED_TRACE (name);
        plug (outputs);
        leaveSelector (*this);
        takeLog();

        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), "");
        expectNothingSelected();
    }
    EXPECT_EQ (panel->topBar.deviceSelector.getNumItems(), 2);
}
