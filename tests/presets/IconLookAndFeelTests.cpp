#include <gtest/gtest.h>

#include "editor/Parameters.h"
#include "presets/LeftLookAndFeel.h"
#include "presets/RightLookAndFeel.h"
#include "presets/SaveLookAndFeel.h"
#include "presets/UndoLookAndFeel.h"

namespace
{
// The colours of the fully opaque pixels.
juce::SortedSet<juce::uint32> solidColoursOf (const juce::Image& image)
{
    juce::SortedSet<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (const auto pixel = image.getPixelAt (x, y); pixel.getAlpha() == 255)
                colours.add (pixel.getARGB());
    return colours;
}
} // namespace

// The chevrons are bare white strokes, the others filled.
TEST (IconLookAndFeel, DrawsEachIconWhollyInsideItsButtonInItsColourUpAndPressed)
{
    const std::pair<std::unique_ptr<IconLookAndFeel>, bool> icons[] { { std::make_unique<UndoLookAndFeel>(), false }, { std::make_unique<SaveLookAndFeel>(), false },
                                                                       { std::make_unique<LeftLookAndFeel>(), true }, { std::make_unique<RightLookAndFeel>(), true } };
    juce::DrawableButton button ("icon", juce::DrawableButton::ImageFitted);
    button.setSize (100, 40);
    for (const auto& [lnf, stroked] : icons)
        for (const bool pressed : { false, true })
        {
            juce::Image image (juce::Image::ARGB, 100, 40, true);
            juce::Graphics g (image);
            lnf->drawDrawableButton (g, button, false, pressed);
            const auto placed = lnf->getIcon().getDrawableBounds().transformedBy (lnf->getIcon().getTransform());
            EXPECT_TRUE (! placed.isEmpty() && juce::Rectangle<float> (100.0f, 40.0f).contains (placed)) << placed.toString();
            const auto solid = solidColoursOf (image);
            EXPECT_TRUE (solid.size() == 1 && solid[0] == (stroked ? juce::Colours::white : offWhite).getARGB());
        }
}
