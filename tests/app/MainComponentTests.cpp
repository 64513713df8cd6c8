#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "app/nuskApplication.h"

TEST (MainWindow, ShowsTheSilentComponentAt800By600)
{
    nuskApplication::MainWindow window ("nusk");
    EXPECT_TRUE (window.isUsingNativeTitleBar() && window.isResizable());

    auto* component = dynamic_cast<MainComponent*> (window.getContentComponent());
    ASSERT_NE (component, nullptr);
    EXPECT_EQ (component->getName(), "nusk");
    EXPECT_EQ (component->getLocalBounds(), juce::Rectangle<int> (0, 0, 800, 600));
    EXPECT_EQ (component->panel->getBounds(), component->getLocalBounds());
    EXPECT_EQ (component->deviceManager.getCurrentAudioDevice(), nullptr);

    juce::AudioBuffer<float> buffer (2, 64);
    for (int channel = 0; channel < 2; ++channel)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), 0.5f, 64);

    component->getNextAudioBlock ({ &buffer, 8, 32 });
    EXPECT_EQ (buffer.getMagnitude (8, 32), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (0, 8) + buffer.getMagnitude (40, 24), 1.0f); // untouched outside
}
