#include "BinaryData.h"
#include "PanelHarness.h"
#include "editor/AboutWindow.h"

namespace
{
juce::Typeface::Ptr typeface (const char* data, int size) { return juce::Typeface::createSystemTypefaceFor (data, (size_t) size); }
} // namespace

using About = PanelHarness;

TEST_F (About, IsHalfThePanelCentredOnItWithItsControlsLaidOut)
{
    const auto regular = typeface (BinaryData::Montserrat_400Regular_ttf, BinaryData::Montserrat_400Regular_ttfSize);
    const auto light = typeface (BinaryData::Montserrat_300Light_ttf, BinaryData::Montserrat_300Light_ttfSize);
    ASSERT_TRUE (regular != nullptr && light != nullptr);
    EXPECT_EQ (regular->getName() + " " + regular->getStyle() + ", " + light->getName() + " " + light->getStyle(), "Montserrat Regular, Montserrat Light");

    for (auto [width, height] : { std::pair (800, 600), { 801, 601 } })
    {
        auto& nusk = open (width, height, false);
        AboutWindow about ("About", "1.0.0", &nusk);
        EXPECT_TRUE (about.isOnDesktop() && about.isAlwaysOnTop() && ! about.isVisible());
        EXPECT_EQ (about.getScreenBounds(), nusk.getScreenBounds().withSizeKeepingCentre (400, 300));
        EXPECT_EQ (findChild<juce::DrawableButton> (about)->getBounds(), juce::Rectangle<int> (4, 9, 40, 30));

        auto& link = *findChild<juce::HyperlinkButton> (about);
        EXPECT_EQ (link.getBounds(), juce::Rectangle<int> (87, 248, 227, 24));
        for (int row = 0; row < 4; ++row)
        {
            EXPECT_NEAR (about.creditRowBounds (row).getY(), 161.25f + 18.0f * (float) row, 1e-3f);
            EXPECT_EQ (about.creditRowBounds (row).withY (0.0f).toNearestInt(), juce::Rectangle<int> (80, 0, 240, 15));
        }

        // Fitting the link to its text measures it in Montserrat Light, 0.8 of the link's 24 pixels.
        link.changeWidthToFitText();
        EXPECT_EQ (link.getWidth(), juce::Font (light).withHeight (19.2f).getStringWidth (link.getButtonText()) + 6);
    }
}

TEST_F (About, EscapeOrTheCloseIconEndTheModalStateOtherKeysDoNot)
{
    AboutWindow about ("About", "1.0.0", &open (800, 600, false));
    about.enterModalState (true);
    dispatchMessages();
    auto* peer = about.getPeer();

    for (const auto& key : { juce::KeyPress (juce::KeyPress::returnKey), juce::KeyPress ('x', {}, 'x') })
        peer->handleKeyPress (key);
    dispatchMessages (20);
    EXPECT_TRUE (about.isCurrentlyModal());
    peer->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
    dispatchMessages (20);
    EXPECT_FALSE (about.isCurrentlyModal());

    about.enterModalState (true);
    click (*findChild<juce::DrawableButton> (about));
    EXPECT_FALSE (about.isCurrentlyModal());
}

TEST_F (About, DragsOnlyWithinTheScreen)
{
    AboutWindow about ("About", "1.0.0", &open (800, 600, false));
    about.setVisible (true);
    dispatchMessages (200);
    auto* peer = about.getPeer();
    ASSERT_NE (peer, nullptr);
    const auto screen = juce::Desktop::getInstance().getDisplays().getDisplayForRect (about.getScreenBounds())->userArea;

    // Grab the background below the credits and pull far past the top-left, then the bottom-right;
    // the dragger follows the pointer itself, so the pointer moves along with the events.
    for (auto pull : { juce::Point<float> (-5000.0f, -5000.0f), { 5000.0f, 5000.0f } })
    {
        const auto grab = about.getScreenPosition().toFloat() + juce::Point<float> (200.0f, 240.0f);
        for (auto [to, buttons] : { std::pair (grab, juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier)),
                                    { grab + pull / 2, juce::ModifierKeys::leftButtonModifier },
                                    { grab + pull, juce::ModifierKeys::leftButtonModifier }, { grab + pull, {} } })
        {
            juce::Desktop::setMousePosition (to.roundToInt());
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, peer->globalToLocal (to), buttons, 1.0f, 0.0f, time += 20);
        }
        dispatchMessages (100);
        EXPECT_EQ (about.getScreenBounds(), pull.x < 0 ? screen.withSize (400, 300)
                                                       : screen.withTrimmedLeft (screen.getWidth() - 400).withTrimmedTop (screen.getHeight() - 300));
    }
}
