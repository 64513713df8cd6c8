#include <gtest/gtest.h>

#include "presets/PresetDisplayLookAndFeel.h"

namespace
{
juce::Label* findLabel (juce::ComboBox& box)
{
    for (auto* child : box.getChildren())
        if (auto* label = dynamic_cast<juce::Label*> (child))
            return label;
    return nullptr;
}

bool isBlank (const juce::Image& image)
{
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (! image.getPixelAt (x, y).isTransparent())
                return false;
    return true;
}
} // namespace

TEST (PresetDisplayLookAndFeel, TextLabelSpansTheBoxInHalfItsHeight)
{
    PresetDisplayLookAndFeel lnf;
    juce::ComboBox box;
    box.setLookAndFeel (&lnf);
    box.setBounds (10, 5, 200, 30);

    auto* label = findLabel (box);
    ASSERT_NE (label, nullptr);
    EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (0, 0, 200, 30));
    EXPECT_FLOAT_EQ (label->getFont().getHeight(), 15.0f);
    EXPECT_EQ (label->getFont().getTypefaceName(), juce::Font().getTypefaceName());

    box.setSize (120, 48);
    EXPECT_EQ (label->getBounds(), juce::Rectangle<int> (0, 0, 120, 48));
    EXPECT_FLOAT_EQ (lnf.getComboBoxFont (box).getHeight(), 24.0f);

    box.setLookAndFeel (nullptr);
}

TEST (PresetDisplayLookAndFeel, DrawsNoFrameBackgroundOrArrow)
{
    PresetDisplayLookAndFeel lnf;
    juce::ComboBox box;
    box.setLookAndFeel (&lnf);
    box.setSize (200, 30);

    // Nothing selected, so no text: whatever shows would be the box's own drawing.
    const auto snapshot = box.createComponentSnapshot (box.getLocalBounds());
    EXPECT_TRUE (isBlank (snapshot));

    // The framework's own look does draw something, so the check can tell.
    box.setLookAndFeel (nullptr);
    EXPECT_FALSE (isBlank (box.createComponentSnapshot (box.getLocalBounds())));
}
