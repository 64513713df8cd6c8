#include "PanelHarness.h"
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
