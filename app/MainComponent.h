#pragma once

#include <juce_audio_utils/juce_audio_utils.h>

#include "editor/Nusk.h"
#include "editor/ParameterStore.h"

/** The window's content: owns the undo manager, the parameter store and the
    editor panel. It is an audio component that never opens a device. */
class MainComponent : public juce::AudioAppComponent
{
public:
    MainComponent();
    ~MainComponent() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    void prepareToPlay (int samplesPerBlockExpected, double sampleRate) override;
    void getNextAudioBlock (const juce::AudioSourceChannelInfo& bufferToFill) override;
    void releaseResources() override;

    // Declaration order decides construction and destruction order.
    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore parameters { &undoManager };
    std::unique_ptr<Nusk> panel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MainComponent)
};
