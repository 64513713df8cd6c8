#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

#include "editor/Arrow.h"

/** A picture of the controller's front panel, shown beneath the editor's
    controls. Display only: it takes no mouse input and never changes. */
class Faceplate : public juce::Component
{
public:
    Faceplate();
    ~Faceplate() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    std::unique_ptr<juce::Drawable> artwork;
    std::unique_ptr<juce::Drawable> logo;
    std::array<juce::Slider, 4> fixedFaders;
    std::array<juce::Label, 4> faderCaptions;
    std::array<juce::Label, 4> buttonCaptions;
    Arrow leftArrow;
    Arrow rightArrow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Faceplate)
};
