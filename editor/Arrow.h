#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A black triangle pointing left or right, drawn over an arrow key of the
    faceplate. */
class Arrow : public juce::Component
{
public:
    Arrow() = default;
    ~Arrow() override;

    void paint (juce::Graphics& g) override;

    /** The triangle an arrow of the given size fills: centred on the
        (truncated) middle of the box, its radius a fifth of the width. */
    static juce::Path createTriangle (int width, int height, bool pointingLeft);

    bool pointsLeft = false;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Arrow)
};
