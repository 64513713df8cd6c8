#pragma once

#include <gtest/gtest.h>

#include "editor/Nusk.h"
#include "editor/Parameters.h"

/** A store with the start-up defaults and a real editor panel on the desktop,
    driven through real mouse and key events sent to its window. */
class PanelHarness : public testing::Test
{
protected:
    PanelHarness();

    /** Builds the panel on the desktop and lets the start-up messages arrive. */
    Nusk& openPanel (int width = 800, int height = 600, bool deliverStartUpMessages = true);

    /** Replaces the store's tree with the start-up defaults, switched to 14-bit. */
    void useTypedDefaultsIn14BitMode();

    /** A press and release at the given point of a component in the panel. */
    void click (juce::Component& target, juce::Point<int> position);
    void click (juce::Component& target);
    bool pressKey (const juce::KeyPress& key);
    void typeText (const juce::String& text);

    /** The "+" button of an inc/dec slider. */
    static juce::Component& incrementButtonOf (juce::Slider& slider);

    void selectBank (int bank);
    juce::var stored (const juce::String& key, int list);

    juce::UndoManager undoManager { 30000, 30 };
    ParameterStore store { &undoManager };
    std::unique_ptr<Nusk> panel;

private:
    juce::int64 eventTime = 0;
};
