#include <gtest/gtest.h>

#include "BinaryData.h"
#include "TestSupport.h"
#include "editor/AboutWindow.h"

namespace
{
/** Stands in for the editor panel: a desktop component of the given size. */
struct Panel : juce::Component
{
    Panel (int width, int height)
    {
        setBounds (100, 80, width, height);
        addToDesktop (0);
        setVisible (true);
    }
};

/** Ends any modal state a failing test leaves behind. */
struct AboutWindowTest : testing::Test
{
    ~AboutWindowTest() override
    {
        juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
        dispatchMessages (20);
    }

    Panel panel { 800, 600 };
};

/** Ends a modal loop the test failed to end, so a fault fails the test instead of hanging it. */
struct ModalWatchdog : juce::Timer
{
    explicit ModalWatchdog (juce::Component& w) : window (w) { startTimer (3000); }
    ~ModalWatchdog() override { stopTimer(); }
    void timerCallback() override { stopTimer(); window.exitModalState (-1); }
    juce::Component& window;
};

template <typename Type>
Type* findChild (juce::Component& parent)
{
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<Type*> (child))
            return typed;
    return nullptr;
}

juce::Typeface::Ptr embeddedTypeface (const char* data, int size)
{
    return juce::Typeface::createSystemTypefaceFor (data, (size_t) size);
}
} // namespace

TEST_F (AboutWindowTest, IsHalfThePanelCentredOnItOnTheDesktopButHidden)
{
    AboutWindow about ("About", "1.0.0", &panel);
    EXPECT_TRUE (about.isOnDesktop());
    EXPECT_FALSE (about.isVisible());
    EXPECT_TRUE (about.isAlwaysOnTop());
    EXPECT_EQ (about.getBounds().getWidth(), 400);
    EXPECT_EQ (about.getBounds().getHeight(), 300);
    EXPECT_EQ (about.getScreenBounds().getCentre(), panel.getScreenBounds().getCentre());

    Panel oddPanel (801, 601); // halves are truncated
    AboutWindow oddAbout ("About", "1.0.0", &oddPanel);
    EXPECT_EQ (oddAbout.getWidth(), 400);
    EXPECT_EQ (oddAbout.getHeight(), 300);
}

TEST_F (AboutWindowTest, LaysOutCloseButtonLinkAndCreditRowsAt400By300)
{
    AboutWindow about ("About", "1.0.0", &panel);

    auto* exitButton = findChild<juce::DrawableButton> (about);
    ASSERT_NE (exitButton, nullptr);
    EXPECT_EQ (exitButton->getName(), "ExitButton");
    EXPECT_NE (exitButton->getNormalImage(), nullptr);
    EXPECT_EQ (exitButton->getBounds(), juce::Rectangle<int> (4, 9, 40, 30));

    auto* link = findChild<juce::HyperlinkButton> (about);
    ASSERT_NE (link, nullptr);
    EXPECT_EQ (link->getButtonText(), "support@brevanto.com");
    EXPECT_EQ (link->getURL().toString (true), "support@brevanto.com");
    EXPECT_EQ (link->getBounds(), juce::Rectangle<int> (87, 248, 227, 24));

    const float rowTops[] { 161.25f, 179.25f, 197.25f, 215.25f };
    for (int row = 0; row < 4; ++row)
    {
        const auto bounds = about.creditRowBounds (row);
        EXPECT_NEAR (bounds.getX(), 80.0f, 1e-3f);
        EXPECT_NEAR (bounds.getRight(), 320.0f, 1e-3f);
        EXPECT_NEAR (bounds.getY(), rowTops[row], 1e-3f);
        EXPECT_NEAR (bounds.getHeight(), 15.0f, 1e-3f);
    }

    // Fitting the link to its text measures the text in the link's font:
    // underlined Montserrat Light at 0.8 of the link's 24 pixels.
    juce::Font linkFont (embeddedTypeface (BinaryData::Montserrat_300Light_ttf, BinaryData::Montserrat_300Light_ttfSize));
    linkFont.setHeight (19.2f);
    link->changeWidthToFitText();
    EXPECT_EQ (link->getWidth(), linkFont.getStringWidth (link->getButtonText()) + 6);
}

TEST_F (AboutWindowTest, FitsTheLogoCentredInItsArea)
{
    AboutWindow about ("About", "1.0.0", &panel);
    const auto image = about.createComponentSnapshot (about.getLocalBounds(), true, 1.0f);

    // 1732 x 959 fitted into (110, 15, 180, 135): 180 x 99.7 from y 32.7.
    juce::Rectangle<int> logo;
    for (int y = 5; y < 155; ++y)
        for (int x = 60; x < 340; ++x)
            if (image.getPixelAt (x, y).getBrightness() > 0.5f)
                logo = logo.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : logo.getUnion ({ x, y, 1, 1 });

    EXPECT_NEAR (logo.getX(), 110, 1);
    EXPECT_NEAR (logo.getRight(), 290, 1);
    EXPECT_NEAR (logo.getY(), 32.7, 1.5);
    EXPECT_NEAR (logo.getBottom(), 132.3, 1.5);
    EXPECT_LT (image.getPixelAt (0, 0).getAlpha(), 64) << "the rounded corner leaves the window's corner clear";
}

TEST_F (AboutWindowTest, EscapeEndsTheModalStateOtherKeysDoNot)
{
    AboutWindow about ("About", "1.0.0", &panel);
    about.enterModalState (true);
    dispatchMessages (50);
    auto* peer = about.getPeer();
    ASSERT_NE (peer, nullptr);

    EXPECT_FALSE (about.keyPressed (juce::KeyPress (juce::KeyPress::returnKey)));
    peer->handleKeyPress (juce::KeyPress (juce::KeyPress::returnKey));
    peer->handleKeyPress (juce::KeyPress ('x', {}, 'x'));
    dispatchMessages (20);
    EXPECT_TRUE (about.isCurrentlyModal());

    peer->handleKeyPress (juce::KeyPress (juce::KeyPress::escapeKey));
    dispatchMessages (20);
    EXPECT_FALSE (about.isCurrentlyModal());
}

TEST_F (AboutWindowTest, CloseIconEndsTheModalLoopWithZero)
{
    AboutWindow about ("About", "1.0.0", &panel);
    ModalWatchdog watchdog (about);
    bool wasShowing = false;
    juce::MessageManager::callAsync ([&about, &wasShowing]
    {
        wasShowing = about.isShowing();
        if (auto* exitButton = findChild<juce::DrawableButton> (about))
            exitButton->triggerClick();
    });

    EXPECT_EQ (about.runModalLoop(), 0);
    EXPECT_TRUE (wasShowing);
}

TEST_F (AboutWindowTest, ShowsWithoutAFrameAndDragsOnlyWithinTheScreen)
{
    AboutWindow about ("About", "1.0.0", &panel);
    about.setVisible (true);
    dispatchMessages (200);
    auto* peer = about.getPeer();
    ASSERT_NE (peer, nullptr);
    EXPECT_EQ (peer->getStyleFlags() & juce::ComponentPeer::windowHasTitleBar, 0);
    if (const auto frame = peer->getFrameSizeIfPresent())
    {
        EXPECT_TRUE (frame->isEmpty());
    }

    // The dragger follows the pointer itself, so the pointer moves along with the events.
    auto time = juce::Time::currentTimeMillis();
    auto moveMouse = [&] (juce::Point<float> screenPosition, juce::ModifierKeys buttons)
    {
        juce::Desktop::setMousePosition (screenPosition.roundToInt());
        peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, peer->globalToLocal (screenPosition),
                                buttons, 1.0f, 0.0f, time += 20);
    };

    // Grab the background below the credits and pull far past the top-left, then the bottom-right.
    const auto screen = juce::Desktop::getInstance().getDisplays().getDisplayForRect (about.getScreenBounds())->userArea;
    const juce::ModifierKeys pressed (juce::ModifierKeys::leftButtonModifier);
    for (auto pull : { juce::Point<float> (-5000.0f, -5000.0f), { 5000.0f, 5000.0f } })
    {
        const auto grab = about.getScreenPosition().toFloat() + juce::Point<float> (200.0f, 240.0f);
        moveMouse (grab, pressed);
        moveMouse (grab + pull / 2, pressed);
        moveMouse (grab + pull, pressed);
        moveMouse (grab + pull, {});
        dispatchMessages (100);

        const auto bounds = about.getScreenBounds();
        EXPECT_EQ (bounds.getWidth(), 400);
        EXPECT_EQ (bounds.getHeight(), 300);
        EXPECT_EQ (pull.x < 0 ? bounds.getTopLeft() : bounds.getBottomRight(),
                   pull.x < 0 ? screen.getTopLeft() : screen.getBottomRight())
            << bounds.toString() << " on " << screen.toString();
    }
}

TEST (AboutFonts, EmbeddedFacesAreMontserratRegularAndLight)
{
    const auto regular = embeddedTypeface (BinaryData::Montserrat_400Regular_ttf, BinaryData::Montserrat_400Regular_ttfSize);
    const auto light = embeddedTypeface (BinaryData::Montserrat_300Light_ttf, BinaryData::Montserrat_300Light_ttfSize);
    ASSERT_TRUE (regular != nullptr && light != nullptr);
    EXPECT_EQ (regular->getName(), "Montserrat");
    EXPECT_EQ (light->getName(), "Montserrat");
    EXPECT_NE (regular->getStyle(), light->getStyle());
}
