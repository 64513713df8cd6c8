#include <gtest/gtest.h>

#include "BinaryData.h"
#include "TestSupport.h"
#include "editor/Arrow.h"
#include "editor/Faceplate.h"

#include <algorithm>
#include <vector>

namespace
{
constexpr int plateWidth = 369;
constexpr int plateHeight = 604;
const juce::Rectangle<int> displayWindow (104, 29, 166, 126); // where the artwork draws it at 369 x 604

juce::String embedded (const char* data, int size) { return juce::String::createStringFromData (data, size); }
const juce::String artworkText = embedded (BinaryData::FaceplateArtwork_svg, BinaryData::FaceplateArtwork_svgSize);
const juce::String logoText = embedded (BinaryData::FaceplateLogo_svg, BinaryData::FaceplateLogo_svgSize);

juce::Image render (juce::Component& c) { return c.createComponentSnapshot (c.getLocalBounds(), true, 1.0f); }
bool isDark (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() < 0.25f; }
bool isLight (juce::Colour c) { return c.getAlpha() > 200 && c.getBrightness() > 0.9f; }

bool isDrawn (juce::Colour c) { return c.getAlpha() > 100; }

/** The bounding box of the pixels in an area of the image that pass a test. */
juce::Rectangle<int> boxOf (const juce::Image& image, juce::Rectangle<int> area, bool (*test) (juce::Colour) = isDark)
{
    juce::Rectangle<int> box;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            if (test (image.getPixelAt (x, y)))
                box = box.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : box.getUnion ({ x, y, 1, 1 });
    return box;
}

/** The children of one type, from left to right. */
template <typename Type>
std::vector<Type*> children (juce::Component& parent, int top = -1)
{
    std::vector<Type*> found;
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<Type*> (child); typed != nullptr && (top < 0 || typed->getY() == top))
            found.push_back (typed);
    std::stable_sort (found.begin(), found.end(), [] (auto* a, auto* b) { return a->getX() < b->getX(); });
    return found;
}

/** The centre of a 34-unit key drawn at (left, top) in the artwork, in faceplate pixels. */
juce::Point<float> keyCentre (float left, float top)
{
    return { (left + 17.0f) * plateWidth / 368.504f, (top + 17.0f) * plateHeight / 603.78f };
}
} // namespace

TEST (FaceplateLogo, AreaStartsAtATenthOfTheHeightAndNeverGoesNegative)
{
    EXPECT_EQ (Faceplate::logoArea (369, 604), juce::Rectangle<int> (44, 60, 281, 63));
    EXPECT_EQ (Faceplate::logoArea (200, 150), juce::Rectangle<int> (24, 15, 152, 0)); // 2m >= top quarter

    for (int width = 0; width <= 400; width += 7)
        for (int height = 0; height <= 700; height += 11)
            EXPECT_FALSE (Faceplate::logoArea (width, height).getWidth() < 0 || Faceplate::logoArea (width, height).getHeight() < 0);
}

TEST (FaceplateLogo, StandsTopAlignedInTheDisplayWindowOrNotAtAllWhenTooSmall)
{
    Faceplate faceplate;
    faceplate.setSize (plateWidth, plateHeight);
    const auto image = render (faceplate);

    // 829.714 x 736.53 scaled by 63 / 736.53: about 71 x 63 at (149, 60), black on the near-white window.
    EXPECT_TRUE (isLight (image.getPixelAt (displayWindow.getX() + 3, displayWindow.getY() + 3)));
    const auto logo = boxOf (image, displayWindow);
    EXPECT_NEAR (logo.getX(), 149, 1);
    EXPECT_NEAR (logo.getRight(), 220, 1);
    EXPECT_NEAR (logo.getY(), 60, 1);
    EXPECT_NEAR (logo.getBottom(), 123, 1);

    faceplate.setSize (200, 150);
    const auto small = render (faceplate);
    const juce::Rectangle<int> smallWindow (57, 8, 90, 30);
    EXPECT_TRUE (isLight (small.getPixelAt (smallWindow.getCentreX(), smallWindow.getCentreY())));
    EXPECT_TRUE (boxOf (small, smallWindow).isEmpty());
}

TEST (FaceplateDocuments, AMissingOrMalformedOneLeavesTheRestDrawn)
{
    struct Case { juce::String artwork, logo; bool artworkShown, logoShown; };
    const Case cases[] { { artworkText, logoText, true, true },
                         { artworkText, "<svg viewBox=\"0 0 830 737\"><polygon", true, false },
                         { "<html/>", logoText, false, true }, // well-formed, but no drawing
                         { {}, {}, false, false } };

    for (const auto& c : cases)
    {
        Faceplate faceplate (c.artwork, c.logo);
        faceplate.setSize (plateWidth, plateHeight);
        const auto image = render (faceplate);

        EXPECT_EQ (isLight (image.getPixelAt (2, 300)), c.artworkShown) << "frame";
        EXPECT_EQ (! boxOf (image, displayWindow).isEmpty(), c.logoShown) << "logo";
        EXPECT_TRUE (isDark (image.getPixelAt (51, 143)) && isDark (image.getPixelAt (323, 143))) << "arrows";

        for (int left : { 33, 123, 214, 305 })
        {
            EXPECT_FALSE (boxOf (image, { left, 176, 40, 30 }).isEmpty()) << "button caption at " << left;
            EXPECT_TRUE (isLight (image.getPixelAt (left + 18, 560))) << "fader track at " << left;
            EXPECT_FALSE (boxOf (image, { left, 570, 40, 20 }, isDrawn).isEmpty()) << "fader caption at " << left;
        }
    }
}

TEST (FaceplateFixedFaders, ShowQuarterStepsAndIgnoreClicksAndDrags)
{
    Faceplate faceplate;
    faceplate.setBounds (50, 50, plateWidth, plateHeight);
    faceplate.addToDesktop (0);
    faceplate.setVisible (true);
    dispatchMessages (100);
    auto* peer = faceplate.getPeer();
    ASSERT_NE (peer, nullptr);

    const auto faders = children<juce::Slider> (faceplate);
    ASSERT_EQ (faders.size(), 4u);

    const auto mouse = juce::MouseInputSource::InputSourceType::mouse;
    const juce::ModifierKeys pressed (juce::ModifierKeys::leftButtonModifier);
    auto time = juce::Time::currentTimeMillis();
    for (auto* fader : faders)
    {
        const auto start = fader->getBounds().getCentre().toFloat();
        for (auto [offset, buttons] : { std::pair (0.0f, pressed), { 60.0f, pressed }, { 120.0f, pressed }, { 120.0f, juce::ModifierKeys() } })
            peer->handleMouseEvent (mouse, start.translated (0, offset), buttons, 1.0f, 0.0f, time += 50);
    }
    dispatchMessages (50);

    for (size_t i = 0; i < faders.size(); ++i)
        EXPECT_DOUBLE_EQ (faders[i]->getValue(), 0.25 * (double) (i + 1));
}

TEST (FaceplateOverlays, CaptionsAndArrowsSitOnTheDrawnKeys)
{
    Faceplate faceplate;
    faceplate.setSize (plateWidth, plateHeight);

    const auto faderCaptions = children<juce::Label> (faceplate, juce::roundToInt (0.858f * plateHeight));
    const auto buttonCaptions = children<juce::Label> (faceplate, juce::roundToInt (0.2164f * plateHeight));
    const auto arrows = children<Arrow> (faceplate);
    ASSERT_EQ (faderCaptions.size(), 4u);
    ASSERT_EQ (buttonCaptions.size(), 4u);
    ASSERT_EQ (arrows.size(), 2u);

    const float keyLefts[] { 32.6f, 123.3f, 214.0f, 304.7f };
    for (size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ (faderCaptions[i]->getText(), "F" + juce::String (i + 1));
        EXPECT_EQ (buttonCaptions[i]->getText(), "B" + juce::String (i + 1));
        const auto key = keyCentre (keyLefts[i], 174.3f);
        EXPECT_NEAR (buttonCaptions[i]->getBounds().toFloat().getCentreX(), key.x, 2.0f);
        EXPECT_NEAR (buttonCaptions[i]->getBounds().toFloat().getCentreY(), key.y, 2.0f);
    }

    // "F4" stands under its fader, "B4" and the right arrow a little further left.
    EXPECT_EQ (faderCaptions[3]->getX(), juce::roundToInt (0.82175f * plateWidth));
    EXPECT_EQ (buttonCaptions[3]->getX(), juce::roundToInt (0.81475f * plateWidth));

    EXPECT_TRUE (arrows[0]->pointsLeft);
    EXPECT_FALSE (arrows[1]->pointsLeft);
    for (auto [arrow, keyLeft] : { std::pair (arrows[0], keyLefts[0]), { arrows[1], keyLefts[3] } })
        EXPECT_LT (arrow->getBounds().toFloat().getCentre().getDistanceFrom (keyCentre (keyLeft, 126.1f)), 2.0f);
}

TEST (ArrowTriangle, CentresOnTheTruncatedMiddleWithAFifthOfTheWidth)
{
    auto expectVertices = [] (const juce::Path& path, std::vector<juce::Point<float>> expected)
    {
        std::vector<juce::Point<float>> vertices;
        for (juce::Path::Iterator it (path); it.next();)
            if (it.elementType == juce::Path::Iterator::startNewSubPath || it.elementType == juce::Path::Iterator::lineTo)
                vertices.emplace_back (it.x1, it.y1);

        ASSERT_EQ (vertices.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_LT (vertices[i].getDistanceFrom (expected[i]), 0.01f) << vertices[i].toString();
    };

    // 43 x 121: centre (21, 60), not (21.5, 60.5); radius 8.6.
    expectVertices (Arrow::createTriangle (43, 121, true), { { 12.4f, 60.0f }, { 25.3f, 52.552f }, { 25.3f, 67.448f } });
    expectVertices (Arrow::createTriangle (43, 121, false), { { 29.6f, 60.0f }, { 16.7f, 67.448f }, { 16.7f, 52.552f } });
}
