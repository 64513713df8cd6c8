#include "BinaryData.h"
#include "PanelHarness.h"
#include "editor/Arrow.h"
#include "editor/Faceplate.h"

namespace
{
juce::String embedded (const char* data, int size) { return juce::String::createStringFromData (data, size); }
bool isDark (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() < 0.25f; }
bool isLight (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() > 0.9f; }

/** The bounding box of the dark pixels in an area of the image. */
juce::Rectangle<int> darkBox (const juce::Image& image, juce::Rectangle<int> area)
{
    juce::Rectangle<int> box;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (isDark (image.getPixelAt (x, y)))
                box = box.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : box.getUnion ({ x, y, 1, 1 });
    return box;
}
} // namespace

TEST (Faceplate, DrawsTheLogoInItsAreaAndTheRestWhateverDocumentIsMissing)
{
    EXPECT_EQ (Faceplate::logoArea (369, 604), juce::Rectangle<int> (44, 60, 281, 63));
    EXPECT_EQ (Faceplate::logoArea (200, 150), juce::Rectangle<int> (24, 15, 152, 0)); // never negative

    const auto artwork = embedded (BinaryData::FaceplateArtwork_svg, BinaryData::FaceplateArtwork_svgSize);
    const auto logo = embedded (BinaryData::FaceplateLogo_svg, BinaryData::FaceplateLogo_svgSize);
    struct Case { juce::String artwork, logo; bool artworkShown, logoShown; };
    for (const auto& c : { Case { artwork, logo, true, true }, { artwork, "<svg viewBox=\"0 0 830 737\"><polygon", true, false },
                           { "<html/>", logo, false, true }, { {}, {}, false, false } })
    {
        Faceplate faceplate (c.artwork, c.logo);
        faceplate.setSize (369, 604);
        const auto image = faceplate.createComponentSnapshot (faceplate.getLocalBounds(), true, 1.0f);

        // The logo stands top-aligned in the display window, dark on light.
        const auto logoBox = darkBox (image, { 104, 29, 166, 126 });
        EXPECT_EQ (logoBox.isEmpty() ? "none" : logoBox.toString(), c.logoShown ? "149 60 71 63" : "none");
        EXPECT_EQ (isLight (image.getPixelAt (2, 300)), c.artworkShown) << "frame";
        EXPECT_TRUE (isDark (image.getPixelAt (51, 143)) && isDark (image.getPixelAt (323, 143))) << "arrows";
        for (int left : { 33, 123, 214, 305 })
        {
            EXPECT_FALSE (darkBox (image, { left, 176, 40, 30 }).isEmpty()) << "button caption at " << left;
            EXPECT_TRUE (isLight (image.getPixelAt (left + 18, 560))) << "fader at " << left;
        }
    }
}

using FaceplateInPanel = PanelHarness;

TEST_F (FaceplateInPanel, FixedFadersShowQuarterStepsAndIgnoreClicks)
{
    auto& faceplate = open().faceplate;
    std::vector<juce::Slider*> faders;
    for (auto* child : faceplate.getChildren())
        if (auto* fader = dynamic_cast<juce::Slider*> (child))
            faders.push_back (fader);
    ASSERT_EQ (faders.size(), 4u);

    for (auto* fader : faders)
        for (int y : { fader->getHeight() * 3 / 5, fader->getHeight() * 3 / 10 }) // clear of the captions
            click (*fader, juce::Point<int> (fader->getWidth() / 2, y));

    for (std::size_t i = 0; i < faders.size(); ++i)
        EXPECT_EQ (faders[i]->getValue(), 0.25 * (double) (i + 1));
}

TEST (Arrow, TriangleCentresOnTheTruncatedMiddleWithAFifthOfTheWidth)
{
    const auto vertices = [] (bool left)
    {
        juce::StringArray points;
        const auto triangle = Arrow::createTriangle (43, 121, left);
        for (juce::Path::Iterator it (triangle); it.next();)
            if (it.elementType == juce::Path::Iterator::startNewSubPath || it.elementType == juce::Path::Iterator::lineTo)
                points.add (juce::String (it.x1, 2) + "," + juce::String (it.y1, 2));
        return points.joinIntoString (" ");
    };

    // Centre (21, 60), not (21.5, 60.5); radius 8.6.
    EXPECT_EQ (vertices (true), "12.40,60.00 25.30,52.55 25.30,67.45");
    EXPECT_EQ (vertices (false), "29.60,60.00 16.70,67.45 16.70,52.55");
}
