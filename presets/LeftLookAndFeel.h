#pragma once

#include "presets/IconLookAndFeel.h"

/** The previous-preset button: a white chevron pointing left, stroked only. */
class LeftLookAndFeel : public IconLookAndFeel
{
public:
    LeftLookAndFeel();
    ~LeftLookAndFeel() override;

protected:
    juce::Rectangle<float> getRestingArea (float width, float height) const override;
};
