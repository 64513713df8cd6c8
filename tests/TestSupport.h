#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <initializer_list>

/** Runs the message loop for the given time, delivering pending messages. */
void dispatchMessages (int milliseconds = 50);

/** The per-user configuration folder the test process runs with. */
juce::File testConfigFolder();

/** The text of the given characters, any code points at all. */
juce::String fromCodePoints (std::initializer_list<juce::juce_wchar> codePoints);
