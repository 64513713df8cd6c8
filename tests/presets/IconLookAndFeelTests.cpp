#include <gtest/gtest.h>

#include "editor/Parameters.h"
#include "presets/LeftLookAndFeel.h"
#include "presets/RightLookAndFeel.h"
#include "presets/SaveLookAndFeel.h"
#include "presets/UndoLookAndFeel.h"

namespace
{
bool near (float a, float b) { return std::abs (a - b) < 0.01f; }
bool near (juce::Point<float> a, juce::Point<float> b) { return a.getDistanceFrom (b) < 0.01f; }
bool near (juce::Rectangle<float> a, juce::Rectangle<float> b) { return near (a.getTopLeft(), b.getTopLeft()) && near (a.getBottomRight(), b.getBottomRight()); }

// The colour of the fully opaque pixels when they all share one, else transparent.
juce::Colour solidColour (const juce::Image& image)
{
    juce::SortedSet<juce::uint32> colours;
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (const auto pixel = image.getPixelAt (x, y); pixel.getAlpha() == 255)
                colours.add (pixel.getARGB());
    return colours.size() == 1 ? juce::Colour (colours[0]) : juce::Colour();
}
} // namespace

TEST (IconLookAndFeel, FitsEachIconToItsAreaAndDrawsItInItsColour)
{
    // Areas in a 100 x 40 button. A filling icon covers its area, the other fits inside;
    // the chevrons are bare white strokes, the others filled.
    const struct { std::unique_ptr<IconLookAndFeel> lnf; juce::Rectangle<float> area; float inset; bool fills, stroked; } icons[] {
        { std::make_unique<UndoLookAndFeel>(), { 37.5f, 6.0f, 36.3f, 24.0f }, 1.0f, false, false },
        { std::make_unique<SaveLookAndFeel>(), { 35.0f, 12.0f, 30.0f, 12.0f }, 1.0f, true, false },
        { std::make_unique<LeftLookAndFeel>(), { 45.0f, 18.0f, 10.0f, 4.0f }, 0.5f, true, true },
        { std::make_unique<RightLookAndFeel>(), { 45.0f, 18.0f, 10.0f, 4.0f }, 0.5f, true, true },
    };
    juce::DrawableButton button ("icon", juce::DrawableButton::ImageFitted);
    button.setSize (100, 40);
    for (const auto& icon : icons)
        for (const bool down : { false, true })
        {
            const auto area = icon.lnf->getIconArea (100.0f, 40.0f, down);
            EXPECT_TRUE (near (area, icon.area.reduced (down ? icon.inset : 0.0f))) << area.toString();

            juce::Image image (juce::Image::ARGB, 100, 40, true);
            juce::Graphics g (image);
            icon.lnf->drawDrawableButton (g, button, false, down);
            const auto placed = icon.lnf->getIcon().getDrawableBounds().transformedBy (icon.lnf->getIcon().getTransform());
            const bool covers = icon.fills ? placed.expanded (0.01f).contains (area) : area.expanded (0.01f).contains (placed);
            EXPECT_TRUE (covers && near (placed.getCentre(), area.getCentre())
                         && (near (placed.getWidth(), area.getWidth()) || near (placed.getHeight(), area.getHeight()))) << placed.toString();

            EXPECT_EQ (solidColour (image), icon.stroked ? juce::Colours::white : offWhite);
            EXPECT_TRUE (! icon.stroked || image.getPixelAt ((int) placed.getCentreX(), (int) placed.getCentreY()).isTransparent());
        }
}
