#include <gtest/gtest.h>

#include "app/MainComponent.h"
#include "app/nuskApplication.h"

TEST (MainComponent, BuildsTheStoreWithDefaultsAt800By600)
{
    MainComponent component;

    EXPECT_EQ (component.getName(), "nusk");
    EXPECT_EQ (component.getWidth(), 800);
    EXPECT_EQ (component.getHeight(), 600);
    EXPECT_EQ (component.parameters.tree.getType(), juce::Identifier ("nusk"));
    EXPECT_EQ (component.parameters.undoManager, &component.undoManager);
    EXPECT_EQ (component.parameters.tree.getNumChildren(), 5);
}

TEST (MainComponent, OpensNoAudioDeviceAndRendersSilence)
{
    MainComponent component;
    EXPECT_EQ (component.deviceManager.getCurrentAudioDevice(), nullptr);

    juce::AudioBuffer<float> buffer (2, 64);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < 64; ++i)
            buffer.setSample (channel, i, 0.5f);

    juce::AudioSourceChannelInfo info (&buffer, 8, 32);
    component.getNextAudioBlock (info);

    EXPECT_EQ (buffer.getMagnitude (8, 32), 0.0f);
    EXPECT_EQ (buffer.getSample (0, 7), 0.5f); // outside the active region
    EXPECT_EQ (buffer.getSample (1, 40), 0.5f);
}

TEST (MainWindow, ShowsTheComponentResizableWithTheNativeTitleBar)
{
    nuskApplication::MainWindow window ("nusk");

    EXPECT_EQ (window.getName(), "nusk");
    EXPECT_TRUE (window.isUsingNativeTitleBar());
    EXPECT_TRUE (window.isResizable());
    EXPECT_TRUE (window.isVisible());
    ASSERT_NE (window.getContentComponent(), nullptr);
    EXPECT_EQ (window.getContentComponent()->getWidth(), 800);
    EXPECT_EQ (window.getContentComponent()->getHeight(), 600);
    EXPECT_EQ (window.getDesktopWindowStyleFlags() & juce::ComponentPeer::windowHasCloseButton,
               juce::ComponentPeer::windowHasCloseButton);
}

TEST (MainComponent, ThePanelFillsTheComponent)
{
    MainComponent component;
    ASSERT_NE (component.panel, nullptr);
    EXPECT_EQ (component.panel->getParentComponent(), &component);
    EXPECT_EQ (component.panel->getBounds(), component.getLocalBounds());

    component.setSize (1000, 700);
    EXPECT_EQ (component.panel->getBounds(), juce::Rectangle<int> (0, 0, 1000, 700));
}
