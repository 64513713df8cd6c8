#include "presets/PresetDisplayLookAndFeel.h"

PresetDisplayLookAndFeel::PresetDisplayLookAndFeel() = default;

PresetDisplayLookAndFeel::~PresetDisplayLookAndFeel() = default;

void PresetDisplayLookAndFeel::drawComboBox (juce::Graphics&, int, int, bool, int, int, int, int, juce::ComboBox&)
{
}

juce::Font PresetDisplayLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    auto scaled = font;
    scaled.setHeight ((float) box.getHeight() * 0.5f);
    return scaled;
}

void PresetDisplayLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (0, 0, box.getWidth(), box.getHeight());
    label.setFont (getComboBoxFont (box));
}
