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

    bool pointsLeft = false;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Arrow)
};
