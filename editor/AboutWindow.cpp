#include "editor/AboutWindow.h"

#include "BinaryData.h"

#include <array>

namespace
{
const juce::String supportAddress { "support@brevanto.com" };

std::unique_ptr<juce::Drawable> createDrawable (const char* data, int size)
{
    const auto element = juce::XmlDocument (juce::String::createStringFromData (data, size)).getDocumentElement();
    return element != nullptr ? juce::Drawable::createFromSVG (*element) : nullptr;
}

juce::Font createFont (const char* data, int size)
{
    return juce::Font (juce::Typeface::createSystemTypefaceFor (data, (size_t) size));
}

struct CreditLine
{
    const char* label;
    const char* value;
};

// The version line takes its value from the constructor.
constexpr std::array<CreditLine, 3> fixedCredits { {
    { "product:", "NUSK" },
    { "by:", "Brevanto LLC" },
    { "developer:", "Kestrav Engineering LTD" },
} };
} // namespace

AboutWindow::AboutWindow (juce::String name, juce::String version, juce::Component* componentToCentreOn)
    : juce::TopLevelWindow (name, true),
      centreTarget (componentToCentreOn),
      supportLink (supportAddress, juce::URL (supportAddress)),
      versionText (std::move (version))
{
    jassert (centreTarget != nullptr);

    loadDrawables();
    loadFonts();
    setUpSupportLink();
    setUpExitButton();

    addAndMakeVisible (*exitButton);
    addAndMakeVisible (supportLink);

    setAlwaysOnTop (true);
    // Far more than any window's size: no part of it can be dragged off the screen.
    constrainer.setMinimumOnscreenAmounts (65536, 65536, 65536, 65536);

    sizeAndCentre();
    // The rounded panel leaves the window's corners transparent.
    setOpaque (false);
}

AboutWindow::~AboutWindow() = default;

void AboutWindow::loadDrawables()
{
    logo = createDrawable (BinaryData::AboutLogo_svg, BinaryData::AboutLogo_svgSize);
    closeIcon = createDrawable (BinaryData::CloseIcon_svg, BinaryData::CloseIcon_svgSize);
}

void AboutWindow::loadFonts()
{
    textFont = createFont (BinaryData::Montserrat_400Regular_ttf, BinaryData::Montserrat_400Regular_ttfSize);
    linkFont = createFont (BinaryData::Montserrat_300Light_ttf, BinaryData::Montserrat_300Light_ttfSize);
    linkFont.setUnderline (true);
}

void AboutWindow::setUpSupportLink()
{
    supportLink.setFont (linkFont, true, juce::Justification::horizontallyCentred);
    supportLink.setColour (juce::HyperlinkButton::textColourId, juce::Colours::white);
}

void AboutWindow::setUpExitButton()
{
    exitButton = std::make_unique<juce::DrawableButton> ("ExitButton", juce::DrawableButton::ImageFitted);
    exitButton->setImages (closeIcon.get());

    exitButton->onClick = [this]
    {
        if (auto* parent = exitButton->getParentComponent())
            parent->exitModalState (exitButton->getCommandID());
    };
}

void AboutWindow::sizeAndCentre()
{
    if (centreTarget == nullptr)
        return;

    const auto width = (int) ((float) centreTarget->getWidth() * 0.5f);
    const auto height = (int) ((float) centreTarget->getHeight() * 0.5f);
    centreAroundComponent (centreTarget, width, height);
}

void AboutWindow::centreOnTarget()
{
    if (centreTarget != nullptr)
        centreAroundComponent (centreTarget, getWidth(), getHeight());
}

void AboutWindow::mouseDown (const juce::MouseEvent& e)
{
    dragger.startDraggingComponent (this, e);
}

void AboutWindow::mouseDrag (const juce::MouseEvent& e)
{
    dragger.dragComponent (this, e, &constrainer);
}

juce::Rectangle<float> AboutWindow::creditRowBounds (int row) const
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    const auto firstTop = 215.0f / designHeight * height;

    return { 0.2f * width, firstTop + (float) row * 0.06f * height, 0.6f * width, 0.05f * height };
}

void AboutWindow::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    const auto outline = 0.005f * width;
    const juce::Rectangle<float> panel (0.5f * outline, 0.5f * outline, width - outline, height - outline);

    g.setColour (juce::Colours::black);
    g.fillRoundedRectangle (panel, 20.0f);
    g.setColour (juce::Colours::white);
    g.drawRoundedRectangle (panel, 20.0f, outline);

    if (logo != nullptr)
        logo->draw (g, 1.0f);

    auto font = textFont;
    font.setHeight (0.05f * height);
    g.setFont (font);
    g.setColour (juce::Colours::white);

    auto drawRow = [&] (int row, const juce::String& label, const juce::String& value)
    {
        const auto area = creditRowBounds (row);
        g.drawText (label, area, juce::Justification::left, true);
        g.drawText (value, area, juce::Justification::right, true);
    };

    for (size_t i = 0; i < fixedCredits.size(); ++i)
        drawRow ((int) i, fixedCredits[i].label, fixedCredits[i].value);

    drawRow ((int) fixedCredits.size(), "version:", versionText);
}

bool AboutWindow::keyPressed (const juce::KeyPress& key)
{
    if (escapeKeyCloses && key.isKeyCode (juce::KeyPress::escapeKey))
    {
        exitModalState (0);
        return true;
    }

    return false;
}

void AboutWindow::resized()
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();

    if (logo != nullptr)
        logo->setTransformToFit ({ 0.275f * width, 0.05f * height, 0.45f * width, 0.45f * height },
                                 juce::RectanglePlacement::centred);

    if (exitButton != nullptr)
        exitButton->setBoundsRelative (6.0f / designWidth, 12.0f / designHeight, 0.1f, 0.1f);

    supportLink.setBoundsRelative (132.0f / designWidth, 0.825f, 345.0f / designWidth, 32.0f / designHeight);
    supportLink.setFont (linkFont.withHeight (0.8f * (float) supportLink.getHeight()),
                         false,
                         juce::Justification::horizontallyCentred);

    // Centred while being built; once shown, the user's placement is kept.
    if (! isVisible())
        centreOnTarget();
}
