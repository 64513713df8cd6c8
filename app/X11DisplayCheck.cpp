#include "app/X11DisplayCheck.h"

#include <X11/Xlib.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

namespace
{
bool opensDisplay (const juce::String& name)
{
    if (auto* display = XOpenDisplay (name.toRawUTF8()))
    {
        XCloseDisplay (display);
        return true;
    }

    return false;
}

// JUCE retries once as well: the first attempt is said to fail now and then
// on some systems.
bool opensDisplayWithinTwoTries (const juce::String& name)
{
    return opensDisplay (name) || opensDisplay (name);
}
} // namespace

X11DisplayCheck::X11DisplayCheck()
    : displayName (juce::String::fromUTF8 (std::getenv ("DISPLAY")))
{
    // JUCE would quietly try ":0.0" here; other X clients treat an unset
    // DISPLAY as no display, and so do we.
    if (displayName.isNotEmpty())
        tryDisplay();
}

void X11DisplayCheck::tryDisplay()
{
    // Xlib writes a server's refusal to standard error by itself, once per
    // try. It goes into a pipe instead, so that the one line can quote it;
    // the pipe does not block, so an overlong text is cut, never waited on.
    int pipeEnds[2];
    const auto standardError = dup (STDERR_FILENO);
    if (standardError < 0 || pipe2 (pipeEnds, O_NONBLOCK | O_CLOEXEC) != 0)
    {
        // Without a way back to standard error, nothing is redirected.
        if (standardError >= 0)
            close (standardError);
        opened = opensDisplayWithinTwoTries (displayName);
        return;
    }

    dup2 (pipeEnds[1], STDERR_FILENO);
    opened = opensDisplayWithinTwoTries (displayName);
    dup2 (standardError, STDERR_FILENO);
    close (standardError);
    close (pipeEnds[1]);

    char text[512];
    const auto length = read (pipeEnds[0], text, sizeof (text));
    close (pipeEnds[0]);
    refusal = juce::String::fromUTF8 (text, (int) juce::jmax<ssize_t> (0, length))
                  .upToFirstOccurrenceOf ("\n", false, false)
                  .trim();
}

bool X11DisplayCheck::canOpenDisplay() const
{
    return opened;
}

juce::String X11DisplayCheck::reason() const
{
    if (displayName.isEmpty())
        return " (DISPLAY is empty or not set)";

    if (refusal.isEmpty())
        return ": no X server answers at that address";

    return ": the server refused the connection (" + refusal + ")";
}

juce::String X11DisplayCheck::describeFailure() const
{
    return "nusk: cannot open the X display " + displayName.quoted() + reason() + "; nusk needs an X11 display";
}
