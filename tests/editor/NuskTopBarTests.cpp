#include "PanelHarness.h"
#include "TestSupport.h"
#include "editor/AboutWindow.h"

namespace
{
juce::Component& aboutButtonOf (NuskTopBar& bar)
{
    for (auto* child : bar.getChildren())
        if (auto* button = dynamic_cast<juce::TextButton*> (child); button != nullptr && button->getButtonText() == "about")
            return *button;

    throw std::runtime_error ("no about button");
}

/** Puts an item into the selector and selects it, as a refill and a pick would. */
void pickStaleItem (juce::ComboBox& selector)
{
    selector.addItem ("Unplugged output", 1);
    selector.setSelectedItemIndex (0, juce::dontSendNotification);
}

bool isLight (juce::Colour colour)
{
    return colour.getBrightness() > 0.5f;
}
} // namespace

using NuskTopBarTest = PanelHarness;

TEST_F (NuskTopBarTest, LaysOutAnEightHundredPixelBar)
{
    NuskTopBar bar (store);
    bar.setSize (800, 30);

    EXPECT_EQ (bar.deviceSelector.getBounds(), juce::Rectangle<int> (284, 6, 232, 18));
    EXPECT_EQ (aboutButtonOf (bar).getBounds(), juce::Rectangle<int> (520, 6, 40, 18));
    EXPECT_EQ (bar.deviceSelector.getName(), "DeviceConnectionCombo");
    EXPECT_EQ (bar.deviceSelector.getTextWhenNothingSelected(), "Select MIDI Device");
    EXPECT_EQ (bar.deviceSelector.getTextWhenNoChoicesAvailable(), "No Devices Found");
    EXPECT_EQ (bar.deviceSelector.getNumItems(), 0);

    EXPECT_EQ (bar.presetBar->getBounds(), juce::Rectangle<int> (0, 2, 280, 26));
    EXPECT_EQ (bar.getIndexOfChildComponent (bar.presetBar.get()), 0);
}

TEST_F (NuskTopBarTest, PaintsTheOutlineAndTheLogoOnly)
{
    NuskTopBar bar (store);
    bar.setSize (800, 30);

    juce::Image image (juce::Image::ARGB, 800, 30, true);
    {
        juce::Graphics g (image);
        bar.paintEntireComponent (g, true);
    }

    EXPECT_TRUE (isLight (image.getPixelAt (400, 4)));
    EXPECT_TRUE (isLight (image.getPixelAt (4, 15)));

    int logoPixels = 0, stray = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 800; ++x)
        {
            const bool light = isLight (image.getPixelAt (x, y));
            if (x >= 720 && x < 795 && y >= 10 && y <= 20)
                logoPixels += light ? 1 : 0;
            else if (x >= 565 && x < 720 && y > 6 && y < 24)
                stray += light ? 1 : 0;
        }

    EXPECT_GT (logoPixels, 40);
    EXPECT_EQ (stray, 0);
}

TEST_F (NuskTopBarTest, APressOnTheSelectorOrItsTextRefillsItAndNothingElseDoes)
{
    auto& nusk = openPanel();
    auto& selector = nusk.topBar.deviceSelector;

    pickStaleItem (selector);
    bool aboutShown = false;
    juce::MessageManager::callAsync ([&aboutShown]
    {
        // Runs inside the About window's modal loop.
        auto* modal = juce::Component::getCurrentlyModalComponent();
        aboutShown = dynamic_cast<AboutWindow*> (modal) != nullptr;
        if (modal != nullptr)
            modal->exitModalState (0);
    });
    click (aboutButtonOf (nusk.topBar));
    EXPECT_TRUE (aboutShown);
    click (nusk.topBar, { 700, 15 });
    click (nusk.faceplate);
    EXPECT_EQ (selector.getNumItems(), 1);
    EXPECT_EQ (selector.getSelectedItemIndex(), 0);

    click (selector, { selector.getWidth() - 5, selector.getHeight() / 2 });
    juce::PopupMenu::dismissAllActiveMenus();
    EXPECT_EQ (selector.getNumItems(), 0);
    EXPECT_EQ (selector.getSelectedItemIndex(), -1);

    pickStaleItem (selector);
    auto* textArea = selector.getComponentAt (10, selector.getHeight() / 2);
    ASSERT_NE (textArea, &selector);
    click (*textArea);
    juce::PopupMenu::dismissAllActiveMenus();
    EXPECT_EQ (selector.getNumItems(), 0);
    EXPECT_EQ (selector.getText(), "");
    dispatchMessages();
}
