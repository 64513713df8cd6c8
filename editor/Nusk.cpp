#include "editor/Nusk.h"
#include "editor/ConfigurationMessages.h"
#include "editor/NameInputFilter.h"
#include "editor/Parameters.h"
#include "editor/StoredNumbers.h"

#include <juce_audio_devices/juce_audio_devices.h>

#include <utility>

namespace
{
const juce::Identifier rootType { "nusk" };
constexpr int bankRadioGroup = 1234;
constexpr float columnX[] { 0.05f, 0.2f, 0.7f, 0.85f };
constexpr float faceplateAspectRatio = 0.6103014f;
constexpr float faceplateHeightShare = 0.625f;

template <std::size_t>
juce::Slider makeSlider (juce::Slider::SliderStyle style, juce::Slider::TextEntryBoxPosition textBox)
{
    return juce::Slider (style, textBox);
}

template <std::size_t... index>
std::array<juce::Slider, sizeof...(index)> makeSliders (juce::Slider::SliderStyle style,
                                                        juce::Slider::TextEntryBoxPosition textBox,
                                                        std::index_sequence<index...>)
{
    return { { makeSlider<index> (style, textBox)... } };
}

void setUpTextButton (juce::TextButton& button, const juce::String& text, juce::Button::Listener& listener)
{
    button.setButtonText (text);
    button.setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    button.addListener (&listener);
}

void setUpLimitCaption (juce::Label& label, const juce::String& text)
{
    label.setText (text, juce::dontSendNotification);
    label.setFont (label.getFont().withPointHeight (10.0f));
    label.setJustificationType (juce::Justification::centred);
}

void setUpLightLabel (juce::Label& label, const juce::String& text)
{
    label.setColour (juce::Label::textColourId, offWhite);
    label.setJustificationType (juce::Justification::centred);
    label.setText (text, juce::dontSendNotification);
}
} // namespace

Nusk::Nusk (ParameterStore& storeToEdit)
    : store (&storeToEdit),
      topBar (storeToEdit),
      channelSelector (juce::Slider::IncDecButtons, juce::Slider::TextBoxBelow),
      selectors (makeSliders (juce::Slider::IncDecButtons, juce::Slider::TextBoxBelow, std::make_index_sequence<8>())),
      limitSliders (makeSliders (juce::Slider::TwoValueVertical, juce::Slider::NoTextBox, std::make_index_sequence<4>()))
{
    addControls();

    const char* captions[] { "F1", "F2", "F3", "F4", "B1", "B2", "B3", "B4" };
    for (std::size_t i = 0; i < columnLabels.size(); ++i)
        columnLabels[i].setText (captions[i], juce::dontSendNotification);

    store->tree.addListener (this);

    // Taken before the toggle below writes 14-bit mode: "RESET" returns to 7-bit.
    initialTree = store->tree.createCopy();
    fourteenBitToggle.setToggleState (true, juce::sendNotification);

    addMouseListener (this, true);
}

Nusk::~Nusk()
{
    // The store may outlive the panel; it must not call back into a dead one.
    store->tree.removeListener (this);
}

void Nusk::addControls()
{
    addAndMakeVisible (faceplate);
    addAndMakeVisible (topBar);

    addAndMakeVisible (uploadButton);
    setUpTextButton (uploadButton, "UPLOAD", *this);
    addAndMakeVisible (resetButton);
    setUpTextButton (resetButton, "RESET", *this);

    addAndMakeVisible (channelSelector);
    channelSelector.setRange (0.0, ControlRange::channel, 1.0);
    channelSelector.setIncDecButtonsMode (juce::Slider::incDecButtonsDraggable_Vertical);
    channelSelector.addListener (this);

    for (auto& label : maxLabels)
    {
        addAndMakeVisible (label);
        setUpLimitCaption (label, "MAX");
    }

    for (auto& label : minLabels)
    {
        addAndMakeVisible (label);
        setUpLimitCaption (label, "MIN");
    }

    addAndMakeVisible (bankLabel);
    setUpLightLabel (bankLabel, "BANK");
    addBankButtons();
    addAndMakeVisible (channelLabel);
    setUpLightLabel (channelLabel, "MIDI CH");

    for (int i = 0; i < (int) selectors.size(); ++i)
        addColumn (i);

    for (auto& slider : limitSliders)
        addLimitSlider (slider);

    addAndMakeVisible (fourteenBitToggle);
    fourteenBitToggle.setButtonText ("14-bit MIDI");
    fourteenBitToggle.addListener (this);
}

void Nusk::addBankButtons()
{
    const int edges[] { juce::Button::ConnectedOnRight,
                        juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight,
                        juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight,
                        juce::Button::ConnectedOnLeft };
    const juce::String letters[] { "A", "B", "C", "D" };

    for (std::size_t bank = 0; bank < bankButtons.size(); ++bank)
    {
        auto& button = bankButtons[bank];
        addAndMakeVisible (button);
        button.setClickingTogglesState (true);
        button.setRadioGroupId (bankRadioGroup);
        button.setColour (juce::TextButton::buttonColourId, juce::Colours::black);
        button.setColour (juce::TextButton::buttonOnColourId, offWhite);
        button.setColour (juce::TextButton::textColourOnId, offBlack);
        button.addListener (this);
        button.setConnectedEdges (edges[bank]);
        button.setName ("Button" + letters[bank]);
        button.setButtonText (letters[bank]);
    }

    bankButtons[0].setToggleState (true, juce::dontSendNotification);
}

void Nusk::addColumn (int index)
{
    const bool isFader = index < 4;

    auto& selector = selectors[(std::size_t) index];
    addAndMakeVisible (selector);
    selector.setVelocityModeParameters (2.0, 1, 0.0, true, juce::ModifierKeys::ctrlAltCommandModifiers);
    selector.setRange (0.0, isFader ? maxCc7 : maxNoteNumber, 1.0);
    selector.setTextValueSuffix (isFader ? " CC" : " NOTE");
    selector.setIncDecButtonsMode (juce::Slider::incDecButtonsDraggable_Vertical);
    selector.addListener (this);

    auto& caption = columnLabels[(std::size_t) index];
    addAndMakeVisible (caption);
    caption.setColour (juce::Label::textColourId, offWhite);
    caption.setJustificationType (juce::Justification::centred);
    caption.setFont (caption.getFont().boldened().withPointHeight (15.0f));

    auto& editor = nameEditors[(std::size_t) index];
    addAndMakeVisible (editor);
    editor.setTextToShowWhenEmpty ("unset", offWhite.darker (0.4f));
    editor.setMultiLine (true, true);
    editor.setJustification (juce::Justification::centred);
    editor.setSelectAllWhenFocused (true);
    editor.setColour (juce::TextEditor::textColourId, offWhite);
    editor.setColour (juce::TextEditor::backgroundColourId, juce::Colours::black);
    editor.setColour (juce::TextEditor::outlineColourId, juce::Colours::black);
    editor.setInputFilter (new NameInputFilter(), true); // owned by the editor
    editor.addListener (this);
}

void Nusk::addLimitSlider (juce::Slider& slider)
{
    addAndMakeVisible (slider);
    slider.setColour (juce::Slider::thumbColourId, offWhite);
    slider.setRange (0.0, 127.0, 1.0);
    slider.setPopupDisplayEnabled (true, true, this, 2000);
    // Leaves one change pending: once the message loop runs, it stores the
    // limits shown then, like an edit.
    slider.setMaxValue (127.0, juce::sendNotificationAsync, false);
    slider.setMinValue (0.0, juce::sendNotificationAsync, false);
    slider.addListener (this);
}

//==============================================================================
void Nusk::mouseDown (const juce::MouseEvent&)
{
    storeTypedNames();

    // Each press starts a new undo step, so one press and its edits undo together.
    if (auto* undoManager = store->undoManager)
        undoManager->beginNewTransaction();
}

// A name is stored when its editor loses focus, but JUCE reports that loss
// through the message queue, and a tap delivers its press and release before
// the queue is read: the control tapped would act first, its refresh would
// put the stored name back, and the late report would store that. So a name
// typed but not yet stored goes into its bank before the press does anything.
void Nusk::storeTypedNames()
{
    for (int i = 0; i < (int) nameEditors.size(); ++i)
    {
        const auto text = nameEditors[(std::size_t) i].getText();
        const auto stored = store->getParameter (textKeys[i], currentBank);

        if (stored.isUndefined() || text != stored.toString())
            store->setParameter (textKeys[i], text, currentBank);
    }
}

void Nusk::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

bool Nusk::keyPressed (const juce::KeyPress& key)
{
    const auto modifiers = key.getModifiers();
    auto* undoManager = store->undoManager;

    // X11 reports Ctrl+Z with a lower-case key code, so compare either case.
    const bool isZ = juce::CharacterFunctions::toUpperCase ((juce::juce_wchar) key.getKeyCode()) == 'Z';

    if (undoManager != nullptr && modifiers.isCommandDown() && isZ)
    {
        if (modifiers.isShiftDown())
        {
            if (undoManager->canRedo())
                undoManager->redo();
        }
        else if (undoManager->canUndo())
        {
            undoManager->undo();
        }
    }

    // Every key that reaches the panel ends here.
    return true;
}

void Nusk::resized()
{
    layOutFaceplate();

    topBar.setBoundsRelative (0.0f, 0.0f, 1.0f, 0.05f);

    const float bankX[] { 0.05f, 0.1125f, 0.175f, 0.2375f };
    for (std::size_t bank = 0; bank < bankButtons.size(); ++bank)
        bankButtons[bank].setBoundsRelative (bankX[bank], 0.09f, 0.0625f, 0.075f);

    bankLabel.setBoundsRelative (0.075f, 0.15f, 0.2f, 0.1f);
    channelSelector.setBoundsRelative (0.45f, 0.09f, 0.1f, 0.075f);
    channelLabel.setBoundsRelative (0.45f, 0.1725f, 0.1f, 0.0375f);
    uploadButton.setBoundsRelative (0.7f, 0.09f, 0.1f, 0.075f);
    resetButton.setBoundsRelative (0.85f, 0.09f, 0.1f, 0.075f);
    // Reaches past the right edge; the overhang is clipped.
    fourteenBitToggle.setBoundsRelative (0.7f, 0.17f, 0.4f, 0.2f);

    for (int column = 0; column < 4; ++column)
        layOutColumn (column);
}

void Nusk::layOutFaceplate()
{
    const auto height = (float) getHeight();

    juce::FlexBox box;
    box.flexDirection = juce::FlexBox::Direction::row;
    box.flexWrap = juce::FlexBox::Wrap::wrap;
    box.alignContent = juce::FlexBox::AlignContent::center;
    box.alignItems = juce::FlexBox::AlignItems::stretch;
    box.justifyContent = juce::FlexBox::JustifyContent::center;

    juce::FlexItem item (faceplate);
    item.minWidth = faceplateAspectRatio * height * faceplateHeightShare;
    item.minHeight = faceplateHeightShare * height;
    box.items.add (item);

    box.performLayout (getLocalBounds().toFloat().removeFromBottom (0.9f * height));
}

void Nusk::layOutColumn (int column)
{
    const auto x = columnX[column];
    const auto fader = (std::size_t) column;
    const auto button = fader + 4;

    nameEditors[button].setBoundsRelative (x, 0.35875f, 0.1f, 0.0375f);
    selectors[button].setBoundsRelative (x, 0.4f, 0.1f, 0.075f);
    columnLabels[button].setBoundsRelative (x, 0.4825f, 0.1f, 0.0375f);

    nameEditors[fader].setBoundsRelative (x, 0.59875f, 0.1f, 0.0375f);
    selectors[fader].setBoundsRelative (x, 0.64f, 0.1f, 0.075f);
    columnLabels[fader].setBoundsRelative (x, 0.7225f, 0.1f, 0.0375f);
    limitSliders[fader].setBoundsRelative (x, 0.76375f, 0.1f, 0.1875f);
    maxLabels[fader].setBoundsRelative (x - 0.03f, 0.76375f, 0.1f, 0.0375f);
    minLabels[fader].setBoundsRelative (x + 0.03f, 0.91375f, 0.1f, 0.0375f);
}

//==============================================================================
void Nusk::buttonClicked (juce::Button* button)
{
    for (int bank = 0; bank < (int) bankButtons.size(); ++bank)
        if (button == &bankButtons[(std::size_t) bank])
            return selectBank (*button, bank);

    if (button == &fourteenBitToggle)
        store->setParameter (fourteenBitToggleKey, fourteenBitToggle.getToggleState(), globalList);
    else if (button == &resetButton)
        resetConfiguration();
    else if (button == &uploadButton)
        uploadConfiguration();
}

void Nusk::selectBank (juce::Button& button, int bank)
{
    // Turning one bank on turns the others off, which arrives here too.
    if (! button.getToggleState())
        return;

    currentBank = bank;
    refreshControls (*store, bank);
}

void Nusk::resetConfiguration()
{
    // Bypasses the undo manager; the redirection refreshes the panel.
    store->tree = initialTree.createCopy();
}

void Nusk::uploadConfiguration()
{
    const auto output = topBar.openSelectedOutput();
    if (output == nullptr)
        return;

    const auto settings = buildSettingsMessage (*store, { headerByte3, headerByte2, headerByte1 });
    const auto names = buildNamesMessage (*store);

    for (const auto* message : { &settings, &names })
        output->sendMessageNow (juce::MidiMessage (message->data(), (int) message->size(), 0.0));
}

//==============================================================================
bool Nusk::readMode()
{
    return isFourteenBit (store->getParameter (fourteenBitToggleKey, globalList));
}

void Nusk::sliderValueChanged (juce::Slider* slider)
{
    const int list = currentBank;
    const bool is14Bit = readMode();

    for (int fader = 0; fader < 4; ++fader)
    {
        const auto i = (std::size_t) fader;

        if (slider == &limitSliders[i])
            return storeLimitsOf (fader, is14Bit, list);

        if (slider == &selectors[i])
            return store->setParameter ((is14Bit ? faderCc14bKeys : faderCcKeys)[fader], slider->getValue(), list);

        if (slider == &selectors[i + 4])
            return store->setParameter (buttonCcKeys[fader], slider->getValue(), list);
    }

    if (slider == &channelSelector)
        store->setParameter (channelSelectKey, slider->getValue(), globalList);
}

void Nusk::storeLimitsOf (int fader, bool is14Bit, int list)
{
    const auto& slider = limitSliders[(std::size_t) fader];
    storeFaderLimits ((int) slider.getMaxValue(), (int) slider.getMinValue(), is14Bit,
                      maxMsbKeys[fader], minMsbKeys[fader], maxLsbKeys[fader], minLsbKeys[fader], list);
}

void Nusk::storeFaderLimits (int upper, int lower, bool is14Bit, const juce::String& maxMsbKey,
                             const juce::String& minMsbKey, const juce::String& maxLsbKey,
                             const juce::String& minLsbKey, int list)
{
    if (! is14Bit)
    {
        store->setParameter (maxMsbKey, upper % 128, list);
        store->setParameter (minMsbKey, lower % 128, list);
        return;
    }

    store->setParameter (maxMsbKey, (upper >> 7) % 128, list);
    store->setParameter (minMsbKey, (lower >> 7) % 128, list);
    store->setParameter (maxLsbKey, upper % 128, list);
    store->setParameter (minLsbKey, lower % 128, list);
}

void Nusk::textEditorFocusLost (juce::TextEditor& editor)
{
    for (int i = 0; i < (int) nameEditors.size(); ++i)
        if (&editor == &nameEditors[(std::size_t) i])
            store->setParameter (textKeys[i], editor.getText(), currentBank);
}

void Nusk::textEditorReturnKeyPressed (juce::TextEditor&)
{
    // The focus loss that follows stores the name.
    juce::Component::unfocusAllComponents();
}

void Nusk::valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier&)
{
    refreshAll();
}

void Nusk::valueTreeChildAdded (juce::ValueTree&, juce::ValueTree&) {}
void Nusk::valueTreeChildRemoved (juce::ValueTree&, juce::ValueTree&, int) {}
void Nusk::valueTreeChildOrderChanged (juce::ValueTree&, int, int) {}
void Nusk::valueTreeParentChanged (juce::ValueTree&) {}

void Nusk::valueTreeRedirected (juce::ValueTree& tree)
{
    if (tree.getType() == rootType)
        refreshAll();
}

//==============================================================================
void Nusk::refreshAll()
{
    refreshControls (*store, globalList);
    refreshControls (*store, currentBank);
}

void Nusk::refreshControls (ParameterStore& source, int list)
{
    const auto mode = source.getParameter (fourteenBitToggleKey, globalList);
    const bool is14Bit = isFourteenBit (mode);

    if (list == globalList)
    {
        const auto channel = source.getParameter (channelSelectKey, globalList);
        if (! channel.isUndefined())
            channelSelector.setValue (shownChannel (channel), juce::dontSendNotification);

        if (! mode.isUndefined())
            fourteenBitToggle.setToggleState (is14Bit, juce::dontSendNotification);

        return;
    }

    refreshControllerSelectors (source, is14Bit, list);
    refreshBankControls (source, is14Bit, list);
}

void Nusk::refreshControllerSelectors (ParameterStore& source, bool is14Bit, int list)
{
    for (auto& slider : limitSliders)
        slider.setRange (0.0, is14Bit ? max14BitValue : ControlRange::limit7Bit, 1.0);

    const auto& keys = is14Bit ? faderCc14bKeys : faderCcKeys;
    juce::var values[4];
    for (int fader = 0; fader < 4; ++fader)
        values[fader] = source.getParameter (keys[fader], list);

    for (int fader = 0; fader < 4; ++fader)
    {
        auto& selector = selectors[(std::size_t) fader];
        const auto& value = values[fader];
        selector.setRange (0.0, is14Bit ? ControlRange::controller14Bit : maxCc7, 1.0);

        // In 14-bit mode an undefined number keeps the suffix it had.
        if (! is14Bit)
            selector.setTextValueSuffix (" CC");

        if (value.isUndefined())
            continue;

        // The suffix names the LSB controller of the number shown, which is
        // the one the device gets.
        const auto controller = shownController (value, is14Bit);
        if (is14Bit)
            setLsbSuffix (selector, controller);

        selector.setValue (controller, juce::dontSendNotification);
    }
}

void Nusk::refreshBankControls (ParameterStore& source, bool is14Bit, int list)
{
    for (int button = 0; button < 4; ++button)
    {
        const auto note = source.getParameter (buttonCcKeys[button], list);
        if (! note.isUndefined())
            selectors[(std::size_t) button + 4].setValue (shownNote (note), juce::dontSendNotification);
    }

    for (int fader = 0; fader < 4; ++fader)
        applyFaderLimits (limitSliders[(std::size_t) fader], is14Bit, maxMsbKeys[fader], minMsbKeys[fader],
                          maxLsbKeys[fader], minLsbKeys[fader], list);

    for (int i = 0; i < (int) nameEditors.size(); ++i)
    {
        const auto name = source.getParameter (textKeys[i], list);
        if (! name.isUndefined())
            nameEditors[(std::size_t) i].setText (name.toString(), false);
    }
}

void Nusk::applyFaderLimits (juce::Slider& slider, bool is14Bit, const juce::String& maxMsbKey,
                             const juce::String& minMsbKey, const juce::String& maxLsbKey,
                             const juce::String& minLsbKey, int list)
{
    const auto upper = store->getParameter (maxMsbKey, list);
    const auto lower = store->getParameter (minMsbKey, list);

    // In 7-bit mode an undefined limit leaves the thumbs where they are; in
    // 14-bit mode an undefined half counts as 0.
    if (! is14Bit && (upper.isUndefined() || lower.isUndefined()))
        return;

    const auto maxLsb = is14Bit ? store->getParameter (maxLsbKey, list) : juce::var();
    const auto minLsb = is14Bit ? store->getParameter (minLsbKey, list) : juce::var();
    const auto limits = shownLimits (upper, lower, maxLsb, minLsb, is14Bit);
    slider.setMinAndMaxValues (limits.getStart(), limits.getEnd(), juce::dontSendNotification);
}

void Nusk::setLsbSuffix (juce::Slider& selector, int controllerNumber)
{
    selector.setTextValueSuffix ("/" + juce::String ((juce::int64) controllerNumber + 32) + " CC");
}
