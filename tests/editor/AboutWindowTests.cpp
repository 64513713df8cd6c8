#include "PanelHarness.h"
#include "editor/AboutWindow.h"

using About = PanelHarness;

// Parts that overlap or leave the window hide the credits or the way out.
TEST_F (About, StartsHalfThePanelCentredOnItWithItsPartsApartDragsOnlyWithinTheScreenAndClosesOnEscapeOrItsIconOnly)
{
    AboutWindow about ("About", "1.0.0", &open (800, 600, false));
    ASSERT_TRUE (about.isOnDesktop() && about.isAlwaysOnTop() && ! about.isVisible()); // on the desktop: it has a peer
    EXPECT_EQ (about.getScreenBounds(), panel->getScreenBounds().withSizeKeepingCentre (400, 300));

    auto& link = *findChild<juce::HyperlinkButton> (about);
    juce::RectangleList<float> taken;
    for (auto part : { findChild<juce::DrawableButton> (about)->getBounds().toFloat(), link.getBounds().toFloat(), about.creditRowBounds (0),
                       about.creditRowBounds (1), about.creditRowBounds (2), about.creditRowBounds (3) })
    {
        EXPECT_FALSE (taken.intersectsRectangle (part)) << part.toString();
        taken.addWithoutMerging (part);
    }
    EXPECT_TRUE (about.getLocalBounds().toFloat().contains (taken.getBounds())) << taken.getBounds().toString();
    const auto linkWidth = link.getWidth();
    link.changeWidthToFitText();
    EXPECT_LE (link.getWidth(), linkWidth) << "the address is clipped";

    about.setVisible (true);
    dispatchMessages (200);
    auto* peer = about.getPeer();
    const juce::ModifierKeys down (juce::ModifierKeys::leftButtonModifier);
    const auto screen = juce::Desktop::getInstance().getDisplays().getDisplayForRect (about.getScreenBounds())->userArea;

    // Grab the background below the credits and pull far past the top-left; the
    // dragger follows the pointer itself, so the pointer moves along with the events.
    const auto grab = about.getScreenPosition().toFloat() + juce::Point<float> (200.0f, 240.0f), far = grab - juce::Point<float> (5000.0f, 5000.0f);
    for (auto [to, buttons] : { std::pair (grab, down), { (grab + far) / 2, down }, { far, down }, { far, juce::ModifierKeys() } })
    {
        juce::Desktop::setMousePosition (to.roundToInt());
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, peer->globalToLocal (to), buttons, 1.0f, 0.0f, time += 20);
    }
    dispatchMessages (100);
    EXPECT_EQ (about.getScreenBounds(), screen.withSize (400, 300));

    about.enterModalState (true);
    dispatchMessages();
    for (auto [key, modal] : { std::pair (juce::KeyPress (juce::KeyPress::returnKey), true), { juce::KeyPress ('x', {}, 'x'), true },
                               { juce::KeyPress (juce::KeyPress::escapeKey), false } })
    {
        peer->handleKeyPress (key);
        dispatchMessages (20);
        EXPECT_EQ (about.isCurrentlyModal(), modal) << key.getTextDescription();
    }

    about.enterModalState (true);
    click (*findChild<juce::DrawableButton> (about));
    EXPECT_FALSE (about.isCurrentlyModal());
}
