#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws one icon, and nothing else, on a drawable button.

    The icon is fitted into an area that each subclass places within the
    button; a pressed button draws it slightly smaller. The button's own
    images, background, text and highlight are ignored. */
class IconLookAndFeel : public juce::LookAndFeel_V3
{
public:
    ~IconLookAndFeel() override;

    void drawDrawableButton (juce::Graphics& g, juce::DrawableButton& button,
                             bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    /** The area the icon is fitted into for a button of the given size. */
    juce::Rectangle<float> getIconArea (float width, float height, bool isDown) const;

    const juce::DrawablePath& getIcon() const { return icon; }

protected:
    /** Loads the outline in JUCE's binary path format and recolours the
        framework's default black fill and stroke to the given colour. */
    IconLookAndFeel (const void* pathData, size_t pathSize, juce::Colour colour,
                     float pressedInset, juce::RectanglePlacement placement);

    /** Turns the icon into a bare outline: the given stroke, no fill. */
    void useStrokeOnly (float thickness);

    /** Where the icon goes in a button of the given size when not pressed. */
    virtual juce::Rectangle<float> getRestingArea (float width, float height) const = 0;

private:
    juce::DrawablePath icon;
    const float pressedInset;
    const juce::RectanglePlacement placement;

    JUCE_DECLARE_NON_COPYABLE (IconLookAndFeel)
};
