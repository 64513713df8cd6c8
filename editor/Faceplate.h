#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>

#include "editor/Arrow.h"

/** A picture of the controller's front panel, shown beneath the editor's
    controls. Display only: it takes no mouse input and never changes. */
class Faceplate : public juce::Component
{
public:
    /** Builds the faceplate from the artwork and logo compiled into the program. */
    Faceplate();

    /** Builds the faceplate from the given SVG texts; a text that does not
        parse leaves its drawing out. */
    Faceplate (const juce::String& artworkDocument, const juce::String& logoDocument);

    ~Faceplate() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    /** The area the logo is fitted into, for a faceplate of the given size:
        inset by 12 % of the width, starting at a tenth of the height and
        never of negative size. */
    static juce::Rectangle<int> logoArea (int width, int height);

private:
    void setUpFixedFaders();
    void setUpCaptions();
    void setUpArrows();

    std::unique_ptr<juce::Drawable> artwork;
    std::unique_ptr<juce::Drawable> logo;
    std::array<juce::Slider, 4> fixedFaders;
    std::array<juce::Label, 4> faderCaptions;
    std::array<juce::Label, 4> buttonCaptions;
    Arrow leftArrow;
    Arrow rightArrow;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Faceplate)
};
