#include "editor/NuskTopBar.h"
#include "editor/AboutWindow.h"
#include "editor/Parameters.h"

#include "BinaryData.h"

namespace
{
std::unique_ptr<juce::Drawable> createLogo()
{
    const auto document = juce::XmlDocument::parse (juce::String::fromUTF8 (BinaryData::TopBarLogo_svg,
                                                                             BinaryData::TopBarLogo_svgSize));
    return document != nullptr ? juce::Drawable::createFromSVG (*document) : nullptr;
}
} // namespace

NuskTopBar::NuskTopBar (ParameterStore& store)
{
    logo = createLogo();

    presetManager = std::make_unique<PresetManagerUI> ("nusk");
    presetBar = std::make_unique<PresetBar> (store, *presetManager);
    addAndMakeVisible (*presetBar);

    addAndMakeVisible (deviceSelector);
    deviceSelector.setColour (juce::ComboBox::backgroundColourId, juce::Colours::black);
    deviceSelector.setTextWhenNothingSelected ("Select MIDI Device");
    deviceSelector.setTextWhenNoChoicesAvailable ("No Devices Found");
    deviceSelector.setJustificationType (juce::Justification::centred);
    deviceSelector.setName ("DeviceConnectionCombo");
    deviceSelector.addListener (this);

    addAndMakeVisible (aboutButton);
    aboutButton.setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    aboutButton.setButtonText ("about");
    aboutButton.addListener (this);

    addMouseListener (this, true);
}

NuskTopBar::~NuskTopBar() = default;

bool NuskTopBar::isOnDeviceSelector (const juce::Component* component) const
{
    // The selector's text area is a label inside it.
    return component == &deviceSelector
        || (component != nullptr && component->getParentComponent() == &deviceSelector);
}

void NuskTopBar::mouseDown (const juce::MouseEvent& event)
{
    if (isOnDeviceSelector (event.eventComponent))
        refillDeviceSelector();
}

void NuskTopBar::refillDeviceSelector()
{
    outputDevices = juce::MidiOutput::getAvailableDevices();
    deviceSelector.clear (juce::dontSendNotification);

    // A combo box item needs a text, so an output without a name gets none.
    for (int i = 0; i < outputDevices.size(); ++i)
        if (outputDevices[i].name.isNotEmpty())
            deviceSelector.addItem (outputDevices[i].name, i + 1);
}

juce::MidiDeviceInfo NuskTopBar::selectedOutput() const
{
    const auto position = deviceSelector.getSelectedId() - 1;
    return juce::isPositiveAndBelow (position, outputDevices.size()) ? outputDevices[position]
                                                                     : juce::MidiDeviceInfo();
}

std::unique_ptr<juce::MidiOutput> NuskTopBar::openSelectedOutput()
{
    const auto picked = selectedOutput();
    if (picked.identifier.isEmpty())
        return nullptr;

    // Devices come and go between the refill and this open, and a newcomer may
    // take a vanished output's identifier: only the name JUCE gives the device
    // it has just opened tells which one it is. The user then picks again.
    auto output = juce::MidiOutput::openDevice (picked.identifier);
    if (output != nullptr && output->getDeviceInfo() == picked)
        return output;

    output.reset();
    deviceSelector.setSelectedId (0, juce::dontSendNotification);
    return nullptr;
}

void NuskTopBar::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();

    g.setColour (offWhite);
    g.drawRoundedRectangle (0.005f * width, 0.125f * height, width - 0.01f * width, 0.75f * height, 10.0f, 1.0f);

    if (logo == nullptr)
        return;

    logo->setTransformToFit ({ 0.9f * width, 0.35f * height, 0.1f * width, 0.3f * height },
                             juce::RectanglePlacement::centred);
    logo->draw (g, 1.0f);
}

void NuskTopBar::resized()
{
    presetBar->setBoundsRelative (0.0f, 0.0625f, 0.35f, 0.875f);
    deviceSelector.setBoundsRelative (0.355f, 0.2f, 0.29f, 0.6f);
    aboutButton.setBoundsRelative (0.65f, 0.2f, 0.05f, 0.6f);
}

void NuskTopBar::comboBoxChanged (juce::ComboBox*)
{
    // Opened and closed at once; the upload opens the output it sends to.
    openSelectedOutput().reset();
}

void NuskTopBar::buttonClicked (juce::Button* button)
{
    if (button != &aboutButton)
        return;

    // Modal: returns when the window is closed, and the window goes with it.
    AboutWindow about ("About", "1.0.0", getParentComponent());
    about.runModalLoop();
}
