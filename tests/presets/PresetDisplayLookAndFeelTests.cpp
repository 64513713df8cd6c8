#include <gtest/gtest.h>

#include "presets/PresetDisplayLookAndFeel.h"

TEST (PresetDisplayLookAndFeel, LeavesOnlyTheTextOverTheWholeBox)
{
    PresetDisplayLookAndFeel lnf;
    juce::ComboBox box;
    const auto isBlank = [&box]
    {
        const auto image = box.createComponentSnapshot (box.getLocalBounds());
        for (int i = 0; i < image.getWidth() * image.getHeight(); ++i)
            if (! image.getPixelAt (i % image.getWidth(), i / image.getWidth()).isTransparent())
                return false;
        return true;
    };

    // Nothing selected, so no text: the framework's look still draws the box, this one nothing.
    box.setSize (200, 30);
    EXPECT_FALSE (isBlank());
    box.setLookAndFeel (&lnf);
    EXPECT_TRUE (isBlank());

    auto* label = dynamic_cast<juce::Label*> (box.getChildComponent (0));
    ASSERT_NE (label, nullptr);
    for (const auto size : { juce::Rectangle<int> (120, 48), juce::Rectangle<int> (300, 20) })
    {
        box.setSize (size.getWidth(), size.getHeight());
        EXPECT_EQ (label->getBounds(), size);
    }
}
