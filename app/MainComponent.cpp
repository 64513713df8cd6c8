#include "app/MainComponent.h"
#include "editor/Parameters.h"

MainComponent::MainComponent()
{
    // No audio channels are requested, so no audio device is ever opened.
    addDefaultParameters (parameters);
    panel = std::make_unique<Nusk> (parameters);
    addAndMakeVisible (*panel);
    setName ("nusk");
    setSize (800, 600);
}

MainComponent::~MainComponent()
{
    shutdownAudio();
}

void MainComponent::paint (juce::Graphics&)
{
}

void MainComponent::resized()
{
    panel->setBounds (getLocalBounds());
}

void MainComponent::prepareToPlay (int, double)
{
}

void MainComponent::getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill)
{
    bufferToFill.clearActiveBufferRegion();
}

void MainComponent::releaseResources()
{
}
