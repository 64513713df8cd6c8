#include "presets/SaveLookAndFeel.h"

#include "BinaryData.h"
#include "editor/Parameters.h"

SaveLookAndFeel::SaveLookAndFeel()
    : IconLookAndFeel (BinaryData::SaveIcon_path, (size_t) BinaryData::SaveIcon_pathSize,
                       offWhite, 1.0f, juce::RectanglePlacement::fillDestination)
{}

SaveLookAndFeel::~SaveLookAndFeel() = default;

juce::Rectangle<float> SaveLookAndFeel::getRestingArea (float width, float height) const
{
    // A small square-ish box centred in the upper nine tenths of the button.
    return juce::Rectangle<float> (0.0f, 0.0f, width, 0.9f * height)
        .withSizeKeepingCentre (0.3f * width, 0.3f * height);
}
