#include "presets/PresetBar.h"

#include "editor/ParameterStore.h"
#include "editor/Parameters.h"
#include "presets/PresetException.h"
#include "presets/PresetManager.h"
#include "presets/PresetManagerUI.h"

namespace
{
const juce::String initialPresetName { "Init.preset" };
const juce::String presetExtension { ".preset" };
} // namespace

void showPresetError (const PresetException& error)
{
    juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::NoIcon,
                                            "Error while " + error.context,
                                            juce::String::fromUTF8 (error.what()),
                                            {}, nullptr, nullptr);
}

PresetBar::PresetBar (ParameterStore& storeToUse, PresetManagerUI& presetManagerToUse)
    : store (&storeToUse), presetManager (&presetManagerToUse)
{
    setUpButton (undoButton, undoLnf);
    setUpButton (saveButton, saveLnf);
    setUpButton (leftButton, leftLnf);
    setUpButton (rightButton, rightLnf);
    setUpPresetBox();

    presetManager->addListener (this);
    store->tree.addListener (this);

    selectInitialPreset();
}

PresetBar::~PresetBar()
{
    undoButton.setLookAndFeel (nullptr);
    leftButton.setLookAndFeel (nullptr);
    rightButton.setLookAndFeel (nullptr);
    presetBox.setLookAndFeel (nullptr);
    store->tree.removeListener (this);
}

void PresetBar::setUpButton (juce::DrawableButton& button, juce::LookAndFeel& lnf)
{
    button.setLookAndFeel (&lnf);
    button.addListener (this);
    button.setEdgeIndent (0);
    addAndMakeVisible (button);
}

void PresetBar::setUpPresetBox()
{
    presetBox.setLookAndFeel (&displayLnf);
    presetBox.setJustificationType (juce::Justification::centred);
    presetBox.setColour (juce::ComboBox::textColourId, juce::Colours::white);
    addAndMakeVisible (presetBox);
    presetBox.addListener (this);
}

void PresetBar::selectInitialPreset()
{
    const auto initialFile = juce::File (presetManager->userPresetFolder.getFullPathName()
                                         + juce::File::getSeparatorString() + initialPresetName);

    // A failed write stays silent here: the list is built from what is on disk.
    if (! initialFile.existsAsFile())
        savePreset (store->tree, initialFile);

    presetManager->refreshPresetList();
    makeCurrent (initialFile);

    // The selection changes now; the load follows once the message loop runs.
    store->tree.sendPropertyChangeMessage (hostSetStateRequest);
}

void PresetBar::makeCurrent (const juce::File& file)
{
    presetManager->currentPreset = presetManager->makePreset (file);
    const auto index = presetManager->getPresetIndex (presetManager->currentPreset);
    presetManager->call (&PresetManagerListener::currentPresetChanged, presetManager->currentPreset, index);
}

void PresetBar::paint (juce::Graphics&)
{
    // No background: the top bar shows through.
}

void PresetBar::resized()
{
    undoButton.setBoundsRelative (0.0f, 0.0f, 0.12406f, 1.0f);
    leftButton.setBoundsRelative (0.12406f, 0.0f, 0.12406f, 1.0f);
    presetBox.setBoundsRelative (0.24812f, 0.0f, 0.50376f, 1.0f);
    rightButton.setBoundsRelative (0.7518801f, 0.0f, 0.12406f, 1.0f);
    saveButton.setBoundsRelative (0.87594f, 0.0f, 0.12406f, 1.0f);
}

void PresetBar::buttonClicked (juce::Button* button)
{
    if (button == &undoButton)
        undo();
    else if (button == &leftButton)
        showPreviousPreset();
    else if (button == &rightButton)
        showNextPreset();
    else if (button == &saveButton)
        chooseFileAndSave();
}

void PresetBar::comboBoxChanged (juce::ComboBox* box)
{
    if (box != &presetBox)
        return;

    currentIndex = presetBox.getSelectedItemIndex();
    loadCurrentPreset();
}

void PresetBar::currentPresetChanged (Preset, int index)
{
    currentIndex = index;
}

void PresetBar::presetListChanged (int, juce::PopupMenu menu)
{
    presetMenu = std::make_unique<juce::PopupMenu> (menu);
    *presetBox.getRootMenu() = *presetMenu;
}

void PresetBar::valueTreePropertyChanged (juce::ValueTree&, const juce::Identifier& property)
{
    if (property == hostSetStateRequest)
        selectCurrentPresetAsync();
}

int PresetBar::getNumPresets() const
{
    return (int) presetManager->presets.size();
}

void PresetBar::showPreviousPreset()
{
    stepTo ((currentIndex < 1 ? getNumPresets() : currentIndex) - 1);
}

void PresetBar::showNextPreset()
{
    stepTo (currentIndex < getNumPresets() - 1 ? currentIndex + 1 : 0);
}

void PresetBar::stepTo (int index)
{
    currentIndex = index;

    // With nothing to step through, store, manager and box stay as they are.
    if (getNumPresets() == 0)
        return;

    loadCurrentPreset();
    selectCurrentPresetAsync();
}

void PresetBar::loadCurrentPreset()
{
    const auto numPresets = getNumPresets();
    if (numPresets == 0)
        return;

    // A position outside the list, -1 included, stands for the first preset.
    const auto position = juce::isPositiveAndBelow (currentIndex, numPresets) ? currentIndex : 0;
    const auto preset = presetManager->presets.at ((size_t) position);

    try
    {
        presetManager->loadPreset (preset, *store);
    }
    catch (const PresetException& error)
    {
        showPresetError (error);
    }
}

void PresetBar::selectCurrentPresetAsync()
{
    presetBox.setSelectedId (presetBox.getItemId (currentIndex), juce::sendNotificationAsync);
}

void PresetBar::undo()
{
    if (store->undoManager != nullptr && store->undoManager->canUndo())
        store->undoManager->undo();
}

void PresetBar::chooseFileAndSave()
{
    const auto folder = juce::File (getUserPresetFolderPath (presetManager->productName));
    presetManager->chooser = std::make_unique<juce::FileChooser> ("Choose a file to save...",
                                                                  folder.getChildFile ("preset_name.preset"),
                                                                  "*.preset", true, false, nullptr);

    if (presetManager->chooser->browseForFileToSave (true))
        saveToFile (presetManager->chooser->getResult());
}

void PresetBar::saveToFile (const juce::File& file)
{
    try
    {
        if (! file.hasFileExtension (presetExtension))
        {
            juce::NativeMessageBox::showOkCancelBox (juce::MessageBoxIconType::NoIcon, "Saving Failed",
                                                     "Please use \".preset\" as the file extension.",
                                                     nullptr, nullptr);
            return;
        }

        writePresetFile (file);
        presetManager->refreshPresetList();
        makeCurrent (file);
    }
    catch (const PresetException& error)
    {
        showPresetError (error);
    }
}

void PresetBar::writePresetFile (const juce::File& file)
{
    // A failed save has left any earlier file as it was.
    if (! savePreset (store->tree, file))
        throw PresetException ("The preset file could not be written: " + file.getFullPathName(), "Saving");
}
