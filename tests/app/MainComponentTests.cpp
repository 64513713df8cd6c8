#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "app/nuskApplication.h"

// The end-to-end window test checks the title and the 800 x 600 content area.
TEST (MainWindow, IsResizableAndThePanelFillsItAtAnySize)
{
    nuskApplication::MainWindow window ("nusk");
    auto* component = dynamic_cast<MainComponent*> (window.getContentComponent());
    ASSERT_TRUE (component != nullptr && window.isResizable());
    window.setContentComponentSize (1000, 500);
    EXPECT_EQ (component->panel->getBounds(), juce::Rectangle<int> (1000, 500));
}
