#include "presets/RightLookAndFeel.h"

#include "BinaryData.h"

RightLookAndFeel::RightLookAndFeel()
    : IconLookAndFeel (BinaryData::RightIcon_path, (size_t) BinaryData::RightIcon_pathSize,
                       juce::Colours::white, 0.5f, juce::RectanglePlacement::fillDestination)
{
    useStrokeOnly (2.0f);
}

RightLookAndFeel::~RightLookAndFeel() = default;

juce::Rectangle<float> RightLookAndFeel::getRestingArea (float width, float height) const
{
    return juce::Rectangle<float> (0.0f, 0.0f, width, height)
        .withSizeKeepingCentre (0.1f * width, 0.1f * height);
}
