#include <gtest/gtest.h>

#include "BinaryData.h"
#include "editor/Faceplate.h"

namespace
{
bool isDark (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() < 0.25f; }
bool isLight (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() > 0.9f; }

// The bounding box of the dark pixels in an area of the image.
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
    const auto artwork = juce::String::createStringFromData (BinaryData::FaceplateArtwork_svg, BinaryData::FaceplateArtwork_svgSize);
    const auto logo = juce::String::createStringFromData (BinaryData::FaceplateLogo_svg, BinaryData::FaceplateLogo_svgSize);
    struct Case { juce::String artwork, logo; bool artworkShown, logoShown; };
    for (const auto& c : { Case { artwork, logo, true, true }, { artwork, "<svg viewBox=\"0 0 830 737\"><polygon", true, false },
                           { "<html/>", logo, false, true }, { {}, {}, false, false } })
    {
        Faceplate faceplate (c.artwork, c.logo);
        faceplate.setSize (369, 604);
        const auto image = faceplate.createComponentSnapshot (faceplate.getLocalBounds(), true, 1.0f);

        // The logo stands in the display window, dark on light.
        const auto logoBox = darkBox (image, { 104, 29, 166, 126 });
        EXPECT_EQ (! logoBox.isEmpty() && Faceplate::logoArea (369, 604).contains (logoBox), c.logoShown) << logoBox.toString();
        EXPECT_EQ (isLight (image.getPixelAt (2, 300)), c.artworkShown) << "frame";
        const auto dark = [&image] (int x, int y) { return isDark (image.getPixelAt (x, y)); };
        EXPECT_TRUE (dark (53, 137) && ! dark (45, 137) && dark (320, 137) && ! dark (328, 137)) << "arrows pointing outwards";
        for (int left : { 33, 123, 214, 305 })
            EXPECT_TRUE (! darkBox (image, { left, 176, 40, 30 }).isEmpty() && isLight (image.getPixelAt (left + 18, 560))) << "button caption and fader at " << left;
    }
}
