#pragma once

#include "presets/IconLookAndFeel.h"

/** The save button: a light, filled arrow into a tray, covering its area. */
class SaveLookAndFeel : public IconLookAndFeel
{
public:
    SaveLookAndFeel();
    ~SaveLookAndFeel() override;

protected:
    juce::Rectangle<float> getRestingArea (float width, float height) const override;
};
