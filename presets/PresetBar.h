#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include "presets/LeftLookAndFeel.h"
#include "presets/PresetDisplayLookAndFeel.h"
#include "presets/PresetManagerListener.h"
#include "presets/RightLookAndFeel.h"
#include "presets/SaveLookAndFeel.h"
#include "presets/UndoLookAndFeel.h"

struct ParameterStore;
class PresetException;
class PresetManagerUI;

/** Shows a preset error in a box titled after the failed activity. Returns
    at once; the box closes with its one button. */
void showPresetError (const PresetException& error);

/** The strip through which the user works with presets: undo, previous,
    the list of presets, next and save, from left to right.

    Building it also starts the preset system: it writes "Init.preset" from
    the store when that file is missing, has the list built and asks for
    "Init.preset" to be selected, which loads it once the message loop runs.

    The bar remembers only the position of the current preset; the list and
    the folders belong to the preset manager, the configuration to the store.
    Both must outlive the bar. */
class PresetBar : public juce::Component,
                  public juce::Button::Listener,
                  public juce::ComboBox::Listener,
                  public PresetManagerListener,
                  public juce::ValueTree::Listener
{
public:
    PresetBar (ParameterStore& store, PresetManagerUI& presetManager);
    ~PresetBar() override;

    void paint (juce::Graphics& g) override;
    void resized() override;

    void buttonClicked (juce::Button* button) override;
    void comboBoxChanged (juce::ComboBox* box) override;

    void currentPresetChanged (Preset preset, int index) override;
    void presetListChanged (int numPresets, juce::PopupMenu menu) override;

    void valueTreePropertyChanged (juce::ValueTree& tree, const juce::Identifier& property) override;
    void valueTreeChildAdded (juce::ValueTree&, juce::ValueTree&) override {}
    void valueTreeChildRemoved (juce::ValueTree&, juce::ValueTree&, int) override {}
    void valueTreeChildOrderChanged (juce::ValueTree&, int, int) override {}
    void valueTreeParentChanged (juce::ValueTree&) override {}

    /** Saves the store to the file the save dialog returned: refuses a file
        without the ".preset" extension, otherwise writes it, rebuilds the list
        and makes the new preset current, leaving the box's text as it was.
        A write that fails leaves any earlier file whole and shows an error. */
    void saveToFile (const juce::File& file);

    /** Position of the current preset in the manager's list; -1 when the box
        lost its selection and no load has set a position since. */
    int getCurrentIndex() const { return currentIndex; }

private:
    void setUpButton (juce::DrawableButton& button, juce::LookAndFeel& lnf);
    void setUpPresetBox();
    void selectInitialPreset();

    void showPreviousPreset();
    void showNextPreset();
    void stepTo (int index);
    void loadCurrentPreset();
    void selectCurrentPresetAsync();
    void undo();
    void chooseFileAndSave();
    void writePresetFile (const juce::File& file);
    void makeCurrent (const juce::File& file);

    int getNumPresets() const;

    ParameterStore* store;
    PresetManagerUI* presetManager;

    // Each look-and-feel comes before its component, which goes first.
    UndoLookAndFeel undoLnf;
    juce::DrawableButton undoButton { "undo", juce::DrawableButton::ImageFitted };
    LeftLookAndFeel leftLnf;
    juce::DrawableButton leftButton { "left", juce::DrawableButton::ImageFitted };
    RightLookAndFeel rightLnf;
    juce::DrawableButton rightButton { "right", juce::DrawableButton::ImageFitted };
    SaveLookAndFeel saveLnf;
    juce::DrawableButton saveButton { "save", juce::DrawableButton::ImageFitted };
    PresetDisplayLookAndFeel displayLnf;
    juce::ComboBox presetBox;

    int currentIndex = 0;
    std::unique_ptr<juce::PopupMenu> presetMenu;

    JUCE_DECLARE_NON_COPYABLE (PresetBar)
};
