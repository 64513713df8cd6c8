#include "PanelHarness.h"
#include "editor/ConfigurationMessages.h"
#include "presets/PresetManager.h"

namespace
{
juce::String shown (juce::Slider& slider)
{
    const auto text = [&slider] (double value) { return slider.getTextFromValue (value); };
    return slider.isTwoValue() ? text (slider.getMinValue()) + " to " + text (slider.getMaxValue()) : text (slider.getValue());
}
} // namespace

using Panel = PanelHarness;

// Distinct values and limits with unequal halves, so a value under the key of
// the other mode, or in the wrong block of the message, shows.
TEST_F (Panel, EditsReachTheKeysOfTheModeAndTheSettingsBytesUntilResetBringsBackTheStartIn7Bit)
{
    auto& nusk = open();
    EXPECT_TRUE (nusk.fourteenBitToggle.getToggleState() && nusk.bankButtons[0].getToggleState() && shown (nusk.selectors[3]) == "3/35 CC");
    auto& limits = nusk.limitSliders[1];
    const juce::Point<int> plus (nusk.selectors[0].getWidth() - 5, 5), minus (5, 5);
    const auto bankC = [this] // bank C's bytes in the settings message: notes, controllers, upper and lower limits' halves
    {
        const auto bytes = buildSettingsMessage (store, { 0x01, 0x00, 0x00 });
        return bytes.size() == 103 ? juce::String::toHexString (bytes.data() + 54, 24) : "short";
    };

    store.setParameter ("fader2_text", "Bass", 2);
    click (nusk.bankButtons[2]);
    nusk.nameEditors[1].setText ("typed, not committed");
    nusk.bankButtons[2].triggerClick(); // the bank on show, shown again; a press would store the text first
    dispatchMessages();
    EXPECT_EQ (nusk.nameEditors[1].getText(), "Bass");

    click (nusk.selectors[1], plus);
    click (nusk.selectors[6], minus); // button 3
    limits.setMinAndMaxValues (300.0, 10000.0, juce::sendNotificationSync);
    EXPECT_EQ (bankC(), "08 09 09 0b 08 0a 0a 0b 7f 4e 7f 7f 7f 10 7f 7f 00 02 00 00 00 2c 00 00");

    click (nusk.fourteenBitToggle);
    click (nusk.selectors[1], plus);
    limits.setMinAndMaxValues (20.0, 100.0, juce::sendNotificationSync);
    EXPECT_EQ (bankC(), "08 09 09 0b 18 1a 1a 1b 7f 64 7f 7f 7f 10 7f 7f 00 14 00 00 00 2c 00 00");

    click (nusk.fourteenBitToggle); // joins the halves again
    EXPECT_EQ (shown (nusk.selectors[1]) + ", " + shown (limits), "10/42 CC, 2604 to 12816");

    for (int round = 0; round < 2; ++round) // the edits after a reset never reach what it brings back
    {
        click (nusk.resetButton);
        EXPECT_FALSE (nusk.fourteenBitToggle.getToggleState() || ! nusk.bankButtons[2].getToggleState());
        EXPECT_EQ (shown (nusk.selectors[1]) + ", " + shown (limits) + ", " + nusk.nameEditors[1].getText() + " | " + bankC(),
                   "25 CC, 0 to 127, unset | 08 09 0a 0b 18 19 1a 1b 7f 7f 7f 7f 7f 7f 7f 7f 00 00 00 00 00 00 00 00");
        click (nusk.fourteenBitToggle);
        limits.setMinAndMaxValues (300.0, 10000.0, juce::sendNotificationSync);
    }
}

// A preset file cannot hold some characters, so a name holding one could
// never be saved.
TEST_F (Panel, ANameIsStoredOnReturnWithoutWhatNoPresetCanHoldAndEachPressIsOneUndoStep)
{
    auto& nusk = open();
    click (nusk.bankButtons[1]);
    click (nusk.nameEditors[4]); // button 1's name
    juce::SystemClipboard::copyTextToClipboard (fromCodePoints ({ 'K', 1, 2, 0x1b, '[', 0x7f, '\t', 'k', '\r', '\n', 0xd800, '&', 0xfffe, 0xffff, 0x1f941, 0xdc00,
                                                                  0xe9, 0x10ffff, ' ', '2' }));
    key (juce::KeyPress ('v', juce::ModifierKeys::commandModifier, 0));
    EXPECT_EQ (stored ("button2_text", 1).toString(), "unset");
    key (juce::KeyPress (juce::KeyPress::returnKey));
    dispatchMessages();
    const auto name = fromCodePoints ({ 'K', '[', 0x7f, '\t', 'k', '\n', '&', 0x1f941, 0xe9, 0x10ffff, ' ', '2' });
    EXPECT_EQ (stored ("button2_text", 1).toString(), name);

    for (int press = 0; press < 2; ++press)
        click (nusk.channelSelector, juce::Point<int> (nusk.channelSelector.getWidth() - 5, 5)); // "+"

    const juce::KeyPress undo ('z', juce::ModifierKeys::commandModifier, 0);
    const juce::KeyPress redo ('Z', juce::ModifierKeys::commandModifier | juce::ModifierKeys::shiftModifier, 0);
    for (auto [press, value, text] : { std::tuple (undo, 2.0, name), { undo, 1.0, name }, { undo, 1.0, "unset" }, { redo, 1.0, name } })
    {
        key (press);
        EXPECT_EQ (juce::String (nusk.channelSelector.getValue()) + ", " + nusk.nameEditors[4].getText(), juce::String (value) + ", " + text);
    }
    EXPECT_TRUE (key (juce::KeyPress ('x')) && key (juce::KeyPress (juce::KeyPress::tabKey)));
}

// A refresh shows what it can of any stored value and writes nothing back, not
// even a value the control has to clamp.
TEST_F (Panel, BadStoredValuesShowSafelyAndAreNeverWrittenBack)
{
    for (auto [key, value] : { std::pair<juce::String, juce::var> ("fader2_cc_14b", std::numeric_limits<int>::max()), { "fader3_cc_14b", std::nan ("") },
                               { "button1_cc", 1.0e12 }, { "max1_msb", 1.0e12 }, { "min1_msb", "3" } })
        store.setParameter (key, value, 1);
    store.setParameter (channelSelectKey, "20", globalList); // text, and past the channels: shown as 16
    store.setParameter (fourteenBitToggleKey, true, globalList); // as the panel sets it, so that any other write shows
    const auto before = store.tree.toXmlString();

    auto& nusk = open (800, 600, false);
    store.tree.sendPropertyChangeMessage (hostSetStateRequest); // as after a preset load
    click (nusk.bankButtons[1]); // from bank A's values
    EXPECT_EQ (shown (nusk.channelSelector) + ", " + shown (nusk.selectors[1]) + ", " + shown (nusk.selectors[2]) + ", " + shown (nusk.selectors[4]) + ", "
                   + shown (nusk.limitSliders[0]), "16, 31/63 CC, 0/32 CC, 127 NOTE, 384 to 16383");
    EXPECT_EQ (store.tree.toXmlString(), before);
}

// JUCE's own conversion took the attribute below for binary data of
// (size_t) -1 bytes, and the failed allocation ended the program at every
// start until the file was removed by hand.
TEST_F (Panel, StartsUpShowingAnInitPresetWithAnAttributeNamedBase64)
{
    const juce::File init (getUserPresetFolderPath ("nusk") + "Init.preset");
    ASSERT_TRUE (init.getParentDirectory().createDirectory());
    ASSERT_TRUE (init.replaceWithText ("<nusk><ALIST><A id=\"fader1_cc\" value=\"40\" base64:note=\"-1.\"/></ALIST></nusk>"));

    auto& nusk = open (800, 600, false);
    dispatchMessages (100);

    EXPECT_EQ (shown (nusk.selectors[0]), "40 CC");
}
