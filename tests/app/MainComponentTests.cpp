#include "app/MainComponent.h"
#include "app/nuskApplication.h"
#include "editor/PanelHarness.h"

using MainWindow = PanelHarness;

// Controls that overlap or leave the panel are hidden or cannot be clicked.
// The end-to-end window test checks the title and the 800 x 600 content area.
TEST_F (MainWindow, IsResizableAndItsPanelFillsItKeepingControlsInsideAndApartAndTheFaceplateItsShape)
{
    nuskApplication::MainWindow window ("nusk");
    ASSERT_TRUE (window.isResizable());
    auto& nusk = *dynamic_cast<MainComponent&> (*window.getContentComponent()).panel;
    std::vector<float> shapes;
    for (auto [width, height] : { std::pair (800, 600), { 1000, 500 } })
    {
        window.setContentComponentSize (width, height);
        EXPECT_EQ (nusk.getBounds(), juce::Rectangle<int> (width, height));
        auto controls = nusk.getChildren();
        controls.addArray (nusk.topBar.getChildren());
        juce::RectangleList<int> taken;
        for (auto* control : controls) // labels overlap on purpose, and so does the toggle
            if (dynamic_cast<juce::Label*> (control) == nullptr && control != &nusk.fourteenBitToggle && control != &nusk.topBar)
            {
                EXPECT_FALSE (taken.intersectsRectangle (control->getScreenBounds().reduced (1))) << control->getScreenBounds().toString();
                taken.addWithoutMerging (control->getScreenBounds());
            }
        EXPECT_TRUE (nusk.getScreenBounds().contains (taken.getBounds())) << taken.getBounds().toString();
        shapes.push_back ((float) nusk.faceplate.getWidth() / (float) nusk.faceplate.getHeight());
    }
    EXPECT_NEAR (shapes[0], shapes[1], 0.01f);

    auto& fader = *findChild<juce::Slider> (nusk.faceplate); // a picture: the click passes through
    const auto value = fader.getValue();
    click (fader, juce::Point<int> (fader.getWidth() / 2, fader.getHeight() / 3));
    EXPECT_EQ (fader.getValue(), value);
}
