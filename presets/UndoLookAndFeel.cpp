#include "presets/UndoLookAndFeel.h"

#include "BinaryData.h"
#include "editor/Parameters.h"

UndoLookAndFeel::UndoLookAndFeel()
    : IconLookAndFeel (BinaryData::UndoIcon_path, (size_t) BinaryData::UndoIcon_pathSize,
                       offWhite, 1.0f, juce::RectanglePlacement::centred)
{}

UndoLookAndFeel::~UndoLookAndFeel() = default;

juce::Rectangle<float> UndoLookAndFeel::getRestingArea (float width, float height) const
{
    return { 0.375f * width, 0.15f * height, 0.363f * width, 0.6f * height };
}
