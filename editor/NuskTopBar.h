#pragma once

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include "presets/PresetBar.h"
#include "presets/PresetManagerUI.h"

struct ParameterStore;

/** The strip across the top of the editor: the preset bar, the MIDI output
    selector, the "about" button and the logo inside a light outline.

    The selector is refilled from the system's MIDI outputs on every press on
    it, so it always lists the outputs present at that moment. */
class NuskTopBar : public juce::Component,
                   public juce::ComboBox::Listener,
                   public juce::Button::Listener
{
public:
    explicit NuskTopBar (ParameterStore& store);
    ~NuskTopBar() override;

    void mouseDown (const juce::MouseEvent& event) override;
    void paint (juce::Graphics& g) override;
    void resized() override;
    void comboBoxChanged (juce::ComboBox* comboBox) override;
    void buttonClicked (juce::Button* button) override;

    /** Opens the output the user picked, and only that one: null when nothing
        is selected, and null with the selection dropped when the output does
        not open or what opened is no longer the output picked. */
    std::unique_ptr<juce::MidiOutput> openSelectedOutput();

private:
    void refillDeviceSelector();
    /** The output the selected item showed when the selector was last filled;
        an empty name and identifier when nothing is selected. */
    juce::MidiDeviceInfo selectedOutput() const;
    bool isOnDeviceSelector (const juce::Component* component) const;

    /** The outputs as listed at the last refill: item id i + 1 shows entry i. */
    juce::Array<juce::MidiDeviceInfo> outputDevices;

public:
    // The bar refers to the manager, so it is declared after it and goes first.
    std::unique_ptr<PresetManagerUI> presetManager;
    std::unique_ptr<PresetBar> presetBar;

    /** Each item stands for the output it shows at the last refill, not for a
        position in the system's list, which changes as devices come and go. */
    juce::ComboBox deviceSelector;

private:
    std::unique_ptr<juce::Drawable> logo;
    juce::TextButton aboutButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (NuskTopBar)
};
