#pragma once

#include "presets/IconLookAndFeel.h"

/** The undo button: a light, filled undo arrow, kept in proportion. */
class UndoLookAndFeel : public IconLookAndFeel
{
public:
    UndoLookAndFeel();
    ~UndoLookAndFeel() override;

protected:
    juce::Rectangle<float> getRestingArea (float width, float height) const override;
};
