#include "PanelHarness.h"
#include "editor/AboutWindow.h"

using TopBar = PanelHarness;

TEST_F (TopBar, LayoutAboutButtonAndRefillOnAPressOnTheSelectorOnly)
{
    auto& bar = open().topBar;
    auto& selector = bar.deviceSelector;
    auto& about = dynamic_cast<juce::TextButton&> (*bar.getChildComponent (2));
    EXPECT_EQ (about.getButtonText(), "about");
    EXPECT_EQ (bar.presetBar->getBounds(), juce::Rectangle<int> (0, 2, 280, 26));
    EXPECT_EQ (selector.getBounds(), juce::Rectangle<int> (284, 6, 232, 18));
    EXPECT_EQ (about.getBounds(), juce::Rectangle<int> (520, 6, 40, 18));

    const auto pickStaleItem = [&selector]
    {
        selector.clear (juce::dontSendNotification);
        selector.addItem ("Unplugged output", 1);
        selector.setSelectedItemIndex (0, juce::dontSendNotification);
    };
    pickStaleItem();

    // The about button runs the About window modally; this ends it from inside that loop.
    bool aboutShown = false;
    juce::MessageManager::callAsync ([&aboutShown]
    {
        aboutShown = dynamic_cast<AboutWindow*> (juce::Component::getCurrentlyModalComponent()) != nullptr;
        juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
    });
    click (about);
    EXPECT_TRUE (aboutShown);
    click (bar, juce::Point<int> (700, 15));
    click (panel->faceplate);
    EXPECT_EQ (selector.getSelectedItemIndex(), 0);

    // The arrow, then the text label inside the selector.
    ASSERT_NE (selector.getComponentAt (10, 9), &selector);
    for (int x : { selector.getWidth() - 5, 10 })
    {
        pickStaleItem();
        click (selector, juce::Point<int> (x, 9));
        juce::PopupMenu::dismissAllActiveMenus();
        EXPECT_EQ (selector.getNumItems(), 0);
        EXPECT_EQ (selector.getText(), "");
    }
    dispatchMessages();
}
