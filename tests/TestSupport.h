#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Runs the message loop for the given time, delivering pending messages. */
void dispatchMessages (int milliseconds = 50);

/** The per-user configuration folder the test process runs with. */
juce::File testConfigFolder();
