#pragma once

#include <juce_core/juce_core.h>

/** Finds out, before any window is built, whether the X display named by
    DISPLAY can be opened. JUCE's windowing code crashes without one, and a
    user who starts the program over ssh or from a service deserves a reason. */
class X11DisplayCheck
{
public:
    /** Takes the display name from the DISPLAY environment variable and tries it. */
    X11DisplayCheck();

    bool canOpenDisplay() const;

    /** One line for standard error that names the display tried and says why
        it could not be opened. */
    juce::String describeFailure() const;

private:
    void tryDisplay();
    juce::String reason() const;

    juce::String displayName;
    bool opened = false;
    /** The server's own words when it answered but refused; empty when none answered. */
    juce::String refusal;
};
