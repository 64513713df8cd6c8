// The upload through JUCE's own ALSA MIDI output code, against outputs that
// the preloaded sequencer stand-in (SequencerStandIn.cpp) takes from a file.

#include "editor/PanelHarness.h"

#include <cstdlib>
#include <functional>
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

    /** Types the text into the editor once its window, and then the editor,
        has keyboard focus: X gives the window focus only after a while. */
    void typeInto (juce::TextEditor& editor, const juce::String& text)
    {
        panel->getPeer()->grabFocus();
        waitFor ([this] { return panel->getPeer()->isFocused(); });
        click (editor);
        waitFor ([&editor] { return editor.hasKeyboardFocus (false); });
        ASSERT_TRUE (editor.hasKeyboardFocus (false));
        for (auto character : text)
            key (juce::KeyPress ((int) character, {}, character));
    }

    template <typename Condition>
    static void waitFor (Condition condition)
    {
        for (const auto end = juce::Time::getMillisecondCounter() + 2000; ! condition() && juce::Time::getMillisecondCounter() < end;)
            dispatchMessages (5);
    }

    /** Presses the selector and waits up to two seconds for its pop-up list. */
    juce::Component* pressSelector()
    {
        panel->getPeer()->grabFocus();
        click (panel->topBar.deviceSelector);
        const auto menu = [] { auto* modal = juce::Component::getCurrentlyModalComponent(); return modal != nullptr && modal->getName() == "menu" ? modal : nullptr; };
        waitFor (menu);
        return menu();
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

namespace
{
// Bank A as the device reads it, and as the panel shows it: channel, mode,
// notes, controllers (with the LSB partner in 14-bit mode), limits, names.
juce::String sentView (const juce::String& settingsLine, const juce::String& namesLine)
{
    juce::Array<int> s;
    for (const auto& token : juce::StringArray::fromTokens (settingsLine.fromFirstOccurrenceOf ("F0", true, false), " ", ""))
        s.add (token.getHexValue32());
    const bool is14Bit = s[5] == 1;
    const auto limit = [&] (int at) { return juce::String (is14Bit ? s[at] * 128 + s[at + 4] : s[at]); };
    juce::String view = juce::String (s[4]) + (is14Bit ? " 14-bit |" : " 7-bit |") + " " + juce::String (s[6]) + " " + juce::String (s[7]) + " |";
    for (int i = 0; i < 4; ++i)
        view << " " << s[10 + i] << (is14Bit ? "/" + juce::String (s[10 + i] + 32) : "") << " " << limit (22 + i) << "-" << limit (14 + i);
    return view << " | " << namesLine.fromFirstOccurrenceOf ("F0 ", false, false).substring (0, 59).removeCharacters (" ");
}

juce::String shownView (Nusk& nusk)
{
    const auto number = [] (juce::Slider& slider) { return slider.getTextFromValue (slider.getValue()).upToFirstOccurrenceOf (" ", false, false); };
    juce::String view = number (nusk.channelSelector) + (nusk.fourteenBitToggle.getToggleState() ? " 14-bit |" : " 7-bit |") + " "
                      + number (nusk.selectors[4]) + " " + number (nusk.selectors[5]) + " |";
    for (size_t i = 0; i < 4; ++i)
        view << " " << number (nusk.selectors[i]) << " " << (int) nusk.limitSliders[i].getMinValue() << "-" << (int) nusk.limitSliders[i].getMaxValue();
    view << " | ";
    for (size_t i = 0; i < 4; ++i)
        view << juce::String::toHexString (nusk.nameEditors[i].getText().paddedRight (' ', 5).toRawUTF8(), 5, 0).toUpperCase();
    return view;
}
} // namespace

// Whatever a hand-edited preset holds, the device gets the number its control
// shows; what a preset lacks starts at its default, on screen, on the wire
// and in a later save, which loads back to the same bytes.
TEST_F (Upload, EveryPresetSendsWhatThePanelShowsAndSavesWhatItSends)
{
    open();
    plug ({ "24:0 Out B" });
    pick ("Out B");
    auto& manager = *panel->topBar.presetManager;
    const auto preset = [] (const char* channel, const char* mode, const juce::String& bankA)
    {
        return "<nusk><GLIST><GLOBAL id=\"channel_select\" value=\"" + juce::String (channel) + "\"/><GLOBAL id=\"14bit_midi_toggle\" value=\""
               + juce::String (mode) + "\"/></GLIST><ALIST>" + bankA.replace ("<", "<A id=").replace ("=", "=\"").replace (" v", "\" value").replace ("/>", "\"/>") + "</ALIST></nusk>";
    };
    const auto unset = juce::String::repeatedString ("756E736574", 3);

    for (auto [text, shown] : { std::pair (preset ("20", "0", "<fader1_cc v=1e3/><fader2_cc v=125/><fader3_cc v=40.6/><fader4_cc v=-3/><button1_cc v=127.6/>"
                                                              "<button2_cc v=64.5/><max1_msb v=12/><min1_msb v=64.7/><max2_msb v=300/><fader1_text v=Kick/>"),
                                           "16 7-bit | 127 65 | 119 12-65 119 0-127 41 0-127 0 0-127 | 4B69636B20" + unset),
                                { preset ("1", "false", "<button1_cc v=5/>"), "1 7-bit | 5 1 | 16 0-127 17 0-127 18 0-127 19 0-127 | 756E736574" + unset },
                                { preset ("-2", "true", "<fader1_cc_14b v=40/><fader2_cc_14b v=7.5/><max1_msb v=200/><max1_lsb v=5/><min1_msb v=3.9/>"
                                                        "<min1_lsb v=200/><max2_msb v=64.7/>"),
                                  "0 14-bit | 0 1 | 31/63 584-16383 8/40 0-8319 2/34 0-16383 3/35 0-16383 | 756E736574" + unset } })
    {
        const auto file = manager.userPresetFolder.getChildFile ("Edited.preset"), saved = file.getSiblingFile ("Saved.preset");
        ASSERT_TRUE (file.replaceWithText (text));
        manager.loadPreset (manager.makePreset (file), store);
        takeLog();
        click (panel->uploadButton);
        const auto log = juce::StringArray::fromLines (takeLog());
        ASSERT_EQ (log.size(), 4) << text;
        EXPECT_EQ (shownView (*panel), shown);
        EXPECT_EQ (sentView (log[1], log[2]), shownView (*panel));

        ASSERT_TRUE (savePreset (store.tree, saved));
        EXPECT_FALSE (saved.loadFileAsString().contains ("undefined"));
        manager.loadPreset (manager.makePreset (saved), store);
        click (panel->uploadButton);
        EXPECT_EQ (takeLog(), log.joinIntoString ("\n"));
    }
}

// No control shows a limit's LSB in 7-bit mode, so it goes out as stored, but
// held to a data byte: 200 would be a status byte in the middle of a message.
TEST_F (Upload, InSevenBitModeTheLimitsLsbsGoOutAsStoredHeldToDataBytes)
{
    open();
    plug ({ "24:0 Out B" });
    pick ("Out B");
    auto& manager = *panel->topBar.presetManager;
    const auto file = manager.userPresetFolder.getChildFile ("Lsbs.preset");
    ASSERT_TRUE (file.replaceWithText ("<nusk><GLIST><GLOBAL id=\"14bit_midi_toggle\" value=\"0\"/></GLIST><ALIST>"
                                       "<A id=\"max1_lsb\" value=\"200\"/><A id=\"max2_lsb\" value=\"64.9\"/>"
                                       "<A id=\"min1_lsb\" value=\"-1\"/><A id=\"min2_lsb\" value=\"5\"/></ALIST></nusk>"));
    manager.loadPreset (manager.makePreset (file), store);
    takeLog();

    click (panel->uploadButton);
    const auto settings = juce::StringArray::fromTokens (juce::StringArray::fromLines (takeLog())[1].fromFirstOccurrenceOf ("F0", true, false), " ", "");

    ASSERT_EQ (settings.size(), 103);
    // Bank A's block starts at byte 6: upper LSBs at 18 to 21, lower LSBs at 26 to 29.
    EXPECT_EQ (settings[18], "7F") << "a stored 200";
    EXPECT_EQ (settings[19], "40") << "a stored 64.9";
    EXPECT_EQ (settings[26], "00") << "a stored -1";
    EXPECT_EQ (settings[27], "05");
}

namespace
{
juce::String parameter (const char* type, const char* key, const char* value)
{
    return juce::String ("<") + type + " id=\"" + key + "\" value=\"" + value + "\"/>";
}

const auto unsetNames = juce::String::repeatedString ("756E736574", 4);
} // namespace

// The store reads the first copy of a key, and of a list, but an edit moves
// its node to the end, behind the copies: the screen then showed the edit and
// the device got another value, which a bank switch or a save and reload then
// brought back.
TEST_F (Upload, APresetRepeatingAKeyOrAListShowsSendsAndKeepsEachEdit)
{
    open();
    plug ({ "24:0 Out B" });
    pick ("Out B");
    auto& manager = *panel->topBar.presetManager;
    const auto plus = [this] (juce::Slider& selector) { return [this, &selector] { click (selector, plusOf (selector)); }; };
    const auto typeKick = [this]
    {
        typeInto (panel->nameEditors[0], "Kick");
        key (juce::KeyPress (juce::KeyPress::returnKey));
        dispatchMessages();
    };
    const juce::String fader1 = "1 7-bit | 0 1 | ", others = " 17 0-127 18 0-127 19 0-127 | ";

    for (const auto& [name, lists, edit, expected] : {
             std::tuple<const char*, juce::String, std::function<void()>, juce::String> (
                 "a repeated controller", "<ALIST>" + parameter ("A", "fader1_cc", "10") + parameter ("A", "fader1_cc", "50") + "</ALIST>",
                 plus (panel->selectors[0]), fader1 + "11 0-127" + others + unsetNames),
             { "an unknown node with the key first", "<ALIST>" + parameter ("X", "fader1_cc", "5") + parameter ("A", "fader1_cc", "10") + "</ALIST>",
               plus (panel->selectors[0]), fader1 + "6 0-127" + others + unsetNames },
             { "a repeated list", "<ALIST>" + parameter ("A", "fader1_cc", "40") + parameter ("A", "fader2_cc", "41") + parameter ("A", "button1_cc", "60") + "</ALIST><ALIST/>",
               plus (panel->selectors[0]), "1 7-bit | 60 1 | 41 0-127 41 0-127 18 0-127 19 0-127 | " + unsetNames },
             { "a repeated mode switch", "<GLIST>" + parameter ("GLOBAL", "14bit_midi_toggle", "1") + parameter ("GLOBAL", "14bit_midi_toggle", "1") + "</GLIST>",
               [this] { click (panel->fourteenBitToggle); }, fader1 + "16 0-127" + others + unsetNames },
             { "a repeated name", "<ALIST>" + parameter ("A", "fader1_text", "One") + parameter ("A", "fader1_text", "Two") + "</ALIST>",
               typeKick, fader1 + "16 0-127" + others + "4B69636B20" + unsetNames.substring (10) } })
    {
        SCOPED_TRACE (name);
        const auto file = manager.userPresetFolder.getChildFile ("Repeated.preset"), saved = file.getSiblingFile ("Saved.preset");
        ASSERT_TRUE (file.replaceWithText ("<nusk>" + lists + "</nusk>"));
        manager.loadPreset (manager.makePreset (file), store);
        edit();
        EXPECT_EQ (shownView (*panel), expected);

        takeLog();
        click (panel->uploadButton);
        const auto log = juce::StringArray::fromLines (takeLog());
        ASSERT_EQ (log.size(), 4);
        EXPECT_EQ (sentView (log[1], log[2]), expected) << "on the wire";

        click (panel->bankButtons[1]);
        click (panel->bankButtons[0]);
        EXPECT_EQ (shownView (*panel), expected) << "after bank B and back";

        ASSERT_TRUE (savePreset (store.tree, saved));
        manager.loadPreset (manager.makePreset (saved), store);
        EXPECT_EQ (shownView (*panel), expected) << "after a save and a load";
    }
}

// A tap delivers its press and release together, before JUCE reports that
// the name editor lost focus: the control tapped acted, the refresh put the
// stored name back in the editor, and the late report stored that. The name
// stays in the bank it was typed in, even when the tap shows another.
TEST_F (Upload, ANameTypedThenLeftByATapIsStoredShownAndSentInItsBank)
{
    open();
    plug ({ "24:0 Out B" });
    pick ("Out B");
    auto& nusk = *panel;
    using Tap = std::pair<juce::Component*, juce::Point<int>>;
    const auto plus = [] (juce::Slider& selector) { return Tap (&selector, plusOf (selector)); };

    for (auto [name, tapped] : { std::pair (juce::String ("Kick"), plus (nusk.channelSelector)),
                                 { "Snare", Tap (&nusk.bankButtons[1], nusk.bankButtons[1].getLocalBounds().getCentre()) },
                                 { "Hat", plus (nusk.selectors[4]) } })
    {
        SCOPED_TRACE (name);
        typeInto (nusk.nameEditors[0], name);
        click (*tapped.first, tapped.second); // press and release with no message read between them
        dispatchMessages();
        EXPECT_EQ (stored ("fader1_text", 0).toString(), name);
        EXPECT_EQ (stored ("fader1_text", 1).toString(), "unset") << "stored in the bank the tap showed";

        click (nusk.bankButtons[0]);
        EXPECT_EQ (nusk.nameEditors[0].getText(), name) << "on screen";
        takeLog();
        click (nusk.uploadButton);
        const auto names = juce::StringArray::fromLines (takeLog())[2];
        EXPECT_EQ (names.fromFirstOccurrenceOf ("F0 ", false, false).substring (0, 14), juce::String::toHexString (name.paddedRight (' ', 5).toRawUTF8(), 5, 1).toUpperCase())
            << "on the wire";
    }
}
