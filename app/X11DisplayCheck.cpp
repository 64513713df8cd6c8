#include "app/X11DisplayCheck.h"

#include <X11/Xlib.h>

#include <cstdlib>

X11DisplayCheck::X11DisplayCheck()
    : displayName (juce::String::fromUTF8 (std::getenv ("DISPLAY")))
{
}

bool X11DisplayCheck::canOpenDisplay() const
{
    // JUCE would quietly try ":0.0" here; other X clients treat an unset
    // DISPLAY as no display, and so do we.
    if (displayName.isEmpty())
        return false;

    // JUCE retries once as well: the first attempt is said to fail now and
    // then on some systems.
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        if (auto* display = XOpenDisplay (displayName.toRawUTF8()))
        {
            XCloseDisplay (display);
            return true;
        }
    }

    return false;
}

juce::String X11DisplayCheck::describeFailure() const
{
    const auto tried = displayName.isEmpty() ? juce::String ("\"\" (DISPLAY is empty or not set)")
                                             : displayName.quoted();
    return "nusk: cannot open the X display " + tried + "; nusk needs an X11 display";
}
