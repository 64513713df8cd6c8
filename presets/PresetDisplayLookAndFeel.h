#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Reduces a combo box to its text: no background, frame or arrow, and a
    label that spans the whole box in a font half as high as the box.
    The pop-up menu keeps the framework's look. */
class PresetDisplayLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PresetDisplayLookAndFeel();
    ~PresetDisplayLookAndFeel() override;

    void drawComboBox (juce::Graphics& g, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont (juce::ComboBox& box) override;
    void positionComboBoxText (juce::ComboBox& box, juce::Label& label) override;

private:
    juce::Font font;

    JUCE_DECLARE_NON_COPYABLE (PresetDisplayLookAndFeel)
};
