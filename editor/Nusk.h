#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <cstdint>

#include "editor/Faceplate.h"
#include "editor/NuskTopBar.h"
#include "editor/ParameterStore.h"
#include "editor/StoredNumbers.h"

/** The editor panel: the top bar, the faceplate picture and every control that
    edits the configuration. It shows the global part and one bank at a time,
    writes each edit into the store and refreshes its controls from the store
    after every change there.

    Members are public: the upload, the top bar and the tests reach the
    controls directly, and the listener callbacks tell them apart by address. */
class Nusk : public juce::Component,
             public juce::ValueTree::Listener,
             public juce::Slider::Listener,
             public juce::Button::Listener,
             public juce::TextEditor::Listener
{
public:
    explicit Nusk (ParameterStore& store);
    ~Nusk() override;

    void mouseDown (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void resized() override;

    void buttonClicked (juce::Button* button) override;
    void sliderValueChanged (juce::Slider* slider) override;
    void textEditorFocusLost (juce::TextEditor& editor) override;
    void textEditorReturnKeyPressed (juce::TextEditor& editor) override;
    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;
    void valueTreeChildAdded (juce::ValueTree& parent, juce::ValueTree& child) override;
    void valueTreeChildRemoved (juce::ValueTree& parent, juce::ValueTree& child, int index) override;
    void valueTreeChildOrderChanged (juce::ValueTree& parent, int oldIndex, int newIndex) override;
    void valueTreeParentChanged (juce::ValueTree& tree) override;
    void valueTreeRedirected (juce::ValueTree& tree) override;

    /** Shows list 4 (the global part) or bank list 0..3, without notifications. */
    void refreshControls (ParameterStore& store, int list);
    void applyFaderLimits (juce::Slider& slider, bool is14Bit, const juce::String& maxMsbKey,
                           const juce::String& minMsbKey, const juce::String& maxLsbKey,
                           const juce::String& minLsbKey, int list);
    /** "/<controller + 32> CC": the LSB controller of the 14-bit pair. */
    void setLsbSuffix (juce::Slider& selector, int controllerNumber);
    void storeFaderLimits (int upper, int lower, bool is14Bit, const juce::String& maxMsbKey,
                           const juce::String& minMsbKey, const juce::String& maxLsbKey,
                           const juce::String& minLsbKey, int list);

    // Sent last-declared first: the settings message begins 0xF0 0x01 0x00 0x00.
    const uint8_t headerByte1 = 0x00;
    const uint8_t headerByte2 = 0x00;
    const uint8_t headerByte3 = 0x01;
    ParameterStore* store;
    /** The configuration found at start-up, which "RESET" brings back. */
    juce::ValueTree initialTree;
    NuskTopBar topBar;
    Faceplate faceplate;
    juce::Slider channelSelector;
    const int maxNoteNumber = ControlRange::note;
    const int maxCc7 = ControlRange::controller7Bit;
    const int max14BitValue = ControlRange::limit14Bit;
    /** 0 to 3: controller selectors of faders 1 to 4; 4 to 7: note selectors of buttons 1 to 4. */
    std::array<juce::Slider, 8> selectors;
    std::array<juce::Slider, 4> limitSliders;
    juce::Label channelLabel;
    juce::Label bankLabel;
    /** "F1" to "F4", then "B1" to "B4". */
    std::array<juce::Label, 8> columnLabels;
    std::array<juce::Label, 4> minLabels;
    std::array<juce::Label, 4> maxLabels;
    juce::TextButton uploadButton;
    juce::TextButton resetButton;
    /** Editor i belongs to textKeys[i]: fader names, then button names. */
    std::array<juce::TextEditor, 8> nameEditors;
    std::array<juce::TextButton, 4> bankButtons;
    juce::ToggleButton fourteenBitToggle;
    /** The bank on show, 0 to 3: the store's list number. */
    int currentBank = 0;

private:
    void addControls();
    void addBankButtons();
    void addColumn (int index);
    void addLimitSlider (juce::Slider& slider);
    void layOutFaceplate();
    void layOutColumn (int column);

    bool readMode();
    void refreshGlobalControls (ParameterStore& source, bool is14Bit);
    void refreshControllerSelectors (ParameterStore& source, bool is14Bit, int list);
    void refreshBankControls (ParameterStore& source, bool is14Bit, int list);
    void refreshAll();

    void storeTypedNames();
    void storeLimitsOf (int fader, bool is14Bit, int list);
    void selectBank (juce::Button& button, int bank);
    void resetConfiguration();
    void uploadConfiguration();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Nusk)
};
