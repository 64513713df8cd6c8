#include "editor/Faceplate.h"

#include "BinaryData.h"

namespace
{
juce::String embeddedText (const char* data, int size)
{
    return juce::String::createStringFromData (data, size);
}

std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& document)
{
    return juce::XmlDocument (document).getDocumentElement();
}

// Column positions as fractions of the faceplate's width. Over the drawn
// buttons the fourth column sits a little further left than at the faders.
constexpr std::array<float, 4> faderColumns { 0.0775f, 0.325f, 0.5725f, 0.82175f };
constexpr std::array<float, 4> buttonColumns { 0.0775f, 0.325f, 0.5725f, 0.81475f };
constexpr float columnWidth = 0.118f;
} // namespace

Faceplate::Faceplate()
    : Faceplate (embeddedText (BinaryData::FaceplateArtwork_svg, BinaryData::FaceplateArtwork_svgSize),
                 embeddedText (BinaryData::FaceplateLogo_svg, BinaryData::FaceplateLogo_svgSize))
{
}

Faceplate::Faceplate (const juce::String& artworkDocument, const juce::String& logoDocument)
{
    const auto artworkElement = parseDocument (artworkDocument);
    const auto logoElement = parseDocument (logoDocument);

    if (artworkElement != nullptr)
        artwork = juce::Drawable::createFromSVG (*artworkElement);

    if (logoElement != nullptr)
        logo = juce::Drawable::createFromSVG (*logoElement);

    // The emblem is drawn white; it has to read dark on the near-white display window.
    if (logo != nullptr)
        logo->replaceColour (juce::Colours::white, juce::Colours::black);

    setUpFixedFaders();
    setUpCaptions();
    setUpArrows();
}

Faceplate::~Faceplate() = default;

void Faceplate::setUpFixedFaders()
{
    for (size_t i = 0; i < fixedFaders.size(); ++i)
    {
        auto& fader = fixedFaders[i];
        addAndMakeVisible (fader);
        fader.setSliderStyle (juce::Slider::LinearVertical);
        fader.setColour (juce::Slider::trackColourId, juce::Colours::white);
        fader.setColour (juce::Slider::thumbColourId, juce::Colours::white);
        fader.setTextBoxStyle (juce::Slider::NoTextBox, true, 0, 0);
        fader.setRange (0.0, 1.0, 0.0);
        fader.setValue (0.25 * (double) (i + 1));
        fader.setInterceptsMouseClicks (false, false);
    }
}

void Faceplate::setUpCaptions()
{
    auto setUpCaption = [this] (juce::Label& caption)
    {
        addAndMakeVisible (caption);
        caption.setJustificationType (juce::Justification::centred);
        caption.setFont (caption.getFont().boldened().withPointHeight (12.0f));
    };

    for (auto& caption : faderCaptions)
        setUpCaption (caption);

    for (auto& caption : buttonCaptions)
        setUpCaption (caption);

    for (size_t i = 0; i < faderCaptions.size(); ++i)
        faderCaptions[i].setText ("F" + juce::String (i + 1), juce::dontSendNotification);

    for (size_t i = 0; i < buttonCaptions.size(); ++i)
    {
        buttonCaptions[i].setText ("B" + juce::String (i + 1), juce::dontSendNotification);
        buttonCaptions[i].setColour (juce::Label::textColourId, juce::Colours::black);
    }
}

void Faceplate::setUpArrows()
{
    leftArrow.pointsLeft = true;
    addAndMakeVisible (leftArrow);
    addAndMakeVisible (rightArrow);
}

juce::Rectangle<int> Faceplate::logoArea (int width, int height)
{
    const auto margin = (int) (0.12f * (float) width);
    const auto topQuarter = juce::jmin (height, (int) (0.25f * (float) height));

    return { margin,
             (int) (0.1f * (float) height),
             juce::jmax (0, width - 2 * margin),
             juce::jmax (0, topQuarter - 2 * margin) };
}

void Faceplate::paint (juce::Graphics& g)
{
    if (artwork != nullptr)
        artwork->drawWithin (g, getLocalBounds().toFloat(), juce::RectanglePlacement::stretchToFit, 1.0f);

    if (logo != nullptr)
        logo->drawWithin (g, logoArea (getWidth(), getHeight()).toFloat(), juce::RectanglePlacement::yTop, 1.0f);
}

void Faceplate::resized()
{
    for (size_t i = 0; i < fixedFaders.size(); ++i)
    {
        fixedFaders[i].setBoundsRelative (faderColumns[i], 0.368f, columnWidth, 0.58f);
        faderCaptions[i].setBoundsRelative (faderColumns[i], 0.858f, columnWidth, 0.2f);
        buttonCaptions[i].setBoundsRelative (buttonColumns[i], 0.2164f, columnWidth, 0.2f);
    }

    leftArrow.setBoundsRelative (buttonColumns[0], 0.138f, columnWidth, 0.2f);
    rightArrow.setBoundsRelative (buttonColumns[3], 0.138f, columnWidth, 0.2f);
}
