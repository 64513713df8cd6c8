#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "app/nuskApplication.h"

// The end-to-end window test checks the title and the 800 x 600 content area.
TEST (MainWindow, HoldsTheResizableComponentWhosePanelFillsItAndWhichPlaysSilence)
{
    nuskApplication::MainWindow window ("nusk");
    auto* component = dynamic_cast<MainComponent*> (window.getContentComponent());
    ASSERT_NE (component, nullptr);
    EXPECT_TRUE (window.isResizable());
    EXPECT_EQ (component->panel->getBounds(), component->getLocalBounds());

    juce::AudioBuffer<float> buffer (2, 64);
    for (int channel = 0; channel < 2; ++channel)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), 0.5f, 64);

    component->getNextAudioBlock ({ &buffer, 8, 32 });
    EXPECT_EQ (buffer.getMagnitude (8, 32), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (0, 8) + buffer.getMagnitude (40, 24), 1.0f); // untouched outside
}
