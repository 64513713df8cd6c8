#pragma once

#include <juce_core/juce_core.h>

/** Finds out, before any window is built, whether the X display named by
    DISPLAY can be opened. JUCE's windowing code crashes without one, and a
    user who starts the program over ssh or from a service deserves a reason. */
class X11DisplayCheck
{
public:
    /** Takes the display name from the DISPLAY environment variable. */
    X11DisplayCheck();

    bool canOpenDisplay() const;

    /** One line for standard error that names the display tried. */
    juce::String describeFailure() const;

private:
    juce::String displayName;
};
