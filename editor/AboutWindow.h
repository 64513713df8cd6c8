#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The borderless, always-on-top window with the product's credits, shown
    modally by the top bar's "about" button. It is half the size of the
    component it is centred on, closes with Escape or its close icon and is
    moved by dragging its background, never off the screen. */
class AboutWindow : public juce::TopLevelWindow
{
public:
    /** Builds the window on the desktop, sized from and centred on
        componentToCentreOn, but not yet visible: run it with runModalLoop(). */
    AboutWindow (juce::String name, juce::String version, juce::Component* componentToCentreOn);
    ~AboutWindow() override;

    void mouseDown (const juce::MouseEvent& e) override;
    void mouseDrag (const juce::MouseEvent& e) override;
    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void resized() override;

    /** The area of credit line 0 to 3, label at its left and value at its right. */
    juce::Rectangle<float> creditRowBounds (int row) const;

private:
    void loadDrawables();
    void loadFonts();
    void setUpSupportLink();
    void setUpExitButton();
    void sizeAndCentre();
    void centreOnTarget();

    std::unique_ptr<juce::Drawable> logo;
    std::unique_ptr<juce::Drawable> closeIcon;
    juce::Component* centreTarget;
    std::unique_ptr<juce::DrawableButton> exitButton;
    juce::HyperlinkButton supportLink;
    juce::ComponentBoundsConstrainer constrainer;
    juce::ComponentDragger dragger;
    juce::Font linkFont;
    juce::Font textFont;
    juce::String versionText;
    float designWidth = 608.0f;
    float designHeight = 400.0f;
    bool escapeKeyCloses = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
