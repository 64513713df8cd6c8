#include "presets/IconLookAndFeel.h"

IconLookAndFeel::IconLookAndFeel (const void* pathData, size_t pathSize, juce::Colour colour,
                                  float pressedInsetToUse, juce::RectanglePlacement placementToUse)
    : pressedInset (pressedInsetToUse), placement (placementToUse)
{
    juce::Path outline;
    outline.loadPathFromData (pathData, pathSize);
    icon.setPath (outline);

    // A new DrawablePath fills and strokes in black, so this recolours both.
    icon.replaceColour (juce::Colours::black, colour);
}

IconLookAndFeel::~IconLookAndFeel() = default;

void IconLookAndFeel::useStrokeOnly (float thickness)
{
    icon.setStrokeType (juce::PathStrokeType (thickness));
    icon.setFill (juce::Colours::transparentBlack);
}

juce::Rectangle<float> IconLookAndFeel::getIconArea (float width, float height, bool isDown) const
{
    const auto area = getRestingArea (width, height);
    return isDown ? area.reduced (pressedInset) : area;
}

void IconLookAndFeel::drawDrawableButton (juce::Graphics& g, juce::DrawableButton& button,
                                          bool /*shouldDrawButtonAsHighlighted*/, bool shouldDrawButtonAsDown)
{
    const auto area = getIconArea ((float) button.getWidth(), (float) button.getHeight(), shouldDrawButtonAsDown);

    // An empty area (no layout yet) keeps the previous transform.
    if (! area.isEmpty())
        icon.setTransformToFit (area, placement);

    icon.draw (g, 1.0f);
}
