#include "PanelHarness.h"
#include "BinaryData.h"
#include "editor/AboutWindow.h"

using TopBar = PanelHarness;

TEST_F (TopBar, OnlyTheAboutButtonShowsTheAboutWindowAndOnlyAPressOnTheSelectorRefillsIt)
{
    auto& bar = open().topBar;
    auto& selector = bar.deviceSelector;
    bool aboutShown = false;

    // The about button, elsewhere on the bar, the faceplate, then the selector's arrow and the text label inside it.
    for (auto [target, at, about, refills] : { std::tuple<juce::Component*, juce::Point<int>, bool, bool> (bar.getChildComponent (2), { 20, 9 }, true, false),
                                               { &bar, { 700, 15 }, false, false }, { &panel->faceplate, { 50, 50 }, false, false },
                                               { &selector, { selector.getWidth() - 5, 9 }, false, true }, { findChild<juce::Label> (selector), { 10, 9 }, false, true } })
    {
        selector.setText ("Unplugged output", juce::dontSendNotification);
        juce::MessageManager::callAsync ([&aboutShown] // ends, from inside, any modal loop the press runs
        {
            aboutShown = dynamic_cast<AboutWindow*> (juce::Component::getCurrentlyModalComponent()) != nullptr;
            juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
        });
        click (*target, at);
        juce::PopupMenu::dismissAllActiveMenus();
        dispatchMessages (20);
        EXPECT_EQ (aboutShown, about);
        EXPECT_EQ (selector.getText(), refills ? "" : "Unplugged output");
    }
}

namespace
{
// The box of the pixels the logo paints: those not fully transparent, right
// of the "about" button and clear of the outline and its rounded corners.
juce::Rectangle<int> logoPixels (const juce::Image& image)
{
    juce::Rectangle<int> box;
    for (int y = 6; y < 24; ++y)
        for (int x = 700; x < 785; ++x)
            if (image.getPixelAt (x, y).getAlpha() > 0)
                box = box.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : box.getUnion ({ x, y, 1, 1 });
    return box;
}
} // namespace

// Fitted into (720, 10.5, 80, 9), a logo whose bounds are its document's
// viewBox, 1219 by 265, is 9 pixels high and about 41.4 wide: from x 739.3 to
// 780.7. A drawable takes the box of its shapes as its bounds, so the shapes
// must span the whole viewBox.
TEST_F (TopBar, TheLogoIsFittedAtTheShapeOfItsViewBox)
{
    auto& bar = open().topBar;
    ASSERT_EQ (bar.getBounds(), juce::Rectangle<int> (0, 0, 800, 30));
    const auto document = juce::XmlDocument::parse (juce::String::createStringFromData (BinaryData::TopBarLogo_svg, BinaryData::TopBarLogo_svgSize));
    ASSERT_NE (document, nullptr);
    const auto bounds = juce::Drawable::createFromSVG (*document)->getDrawableBounds();

    EXPECT_NEAR (bounds.getX(), 0.0f, 0.01f);
    EXPECT_NEAR (bounds.getY(), 0.0f, 0.01f);
    EXPECT_NEAR (bounds.getWidth(), 1219.0f, 0.01f);
    EXPECT_NEAR (bounds.getHeight(), 265.0f, 0.01f);

    // matrix(a b c d e f): the lettering keeps its proportions, flipped upright.
    const auto matrix = juce::StringArray::fromTokens (document->getChildByName ("g")->getStringAttribute ("transform")
                                                           .fromFirstOccurrenceOf ("matrix(", false, false).upToFirstOccurrenceOf (")", false, false), " ,", "");
    ASSERT_EQ (matrix.size(), 6);
    EXPECT_EQ (matrix[0].getDoubleValue(), 3.55556) << "across";
    EXPECT_EQ (matrix[3].getDoubleValue(), -3.55556) << "down, flipped";
    EXPECT_TRUE (matrix[1].getDoubleValue() == 0.0 && matrix[2].getDoubleValue() == 0.0) << "skewed";

    const auto painted = logoPixels (bar.createComponentSnapshot (bar.getLocalBounds(), true, 1.0f));
    EXPECT_TRUE (painted.getX() >= 739 && painted.getX() <= 740) << "left edge at " << painted.getX();
    EXPECT_TRUE (painted.getRight() >= 780 && painted.getRight() <= 781) << "right edge at " << painted.getRight();
    EXPECT_TRUE (painted.getY() >= 10 && painted.getY() <= 11) << "top edge at " << painted.getY();
    EXPECT_TRUE (painted.getBottom() >= 19 && painted.getBottom() <= 20) << "bottom edge at " << painted.getBottom();
}
