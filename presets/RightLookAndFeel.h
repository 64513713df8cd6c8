#pragma once

#include "presets/IconLookAndFeel.h"

/** The next-preset button: a white chevron pointing right, stroked only. */
class RightLookAndFeel : public IconLookAndFeel
{
public:
    RightLookAndFeel();
    ~RightLookAndFeel() override;

protected:
    juce::Rectangle<float> getRestingArea (float width, float height) const override;
};
