#include "presets/LeftLookAndFeel.h"

#include "BinaryData.h"

LeftLookAndFeel::LeftLookAndFeel()
    : IconLookAndFeel (BinaryData::LeftIcon_path, (size_t) BinaryData::LeftIcon_pathSize,
                       juce::Colours::white, 0.5f, juce::RectanglePlacement::fillDestination)
{
    useStrokeOnly (2.0f);
}

LeftLookAndFeel::~LeftLookAndFeel() = default;

juce::Rectangle<float> LeftLookAndFeel::getRestingArea (float width, float height) const
{
    return juce::Rectangle<float> (0.0f, 0.0f, width, height)
        .withSizeKeepingCentre (0.1f * width, 0.1f * height);
}
