#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

#include <X11/Xlib.h>

namespace
{
// The program runs under JUCE's X error handler, which ignores an error such
// as a request about a window that the window manager is handling at that
// moment. JUCE installs it in an application only; without it, Xlib ends the
// test process. The tests run as the program does, and say what they ignored.
int reportXError (Display*, XErrorEvent* error)
{
    std::fprintf (stderr, "X error ignored: request %d, error %d\n", (int) error->request_code, (int) error->error_code);
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    if (GTEST_FLAG_GET (list_tests))
        return RUN_ALL_TESTS();

    // A fresh home and configuration folder for the whole process, so no test
    // shares presets with another or touches a real user's.
    char pattern[] = "/tmp/nusk-test-XXXXXX";
    if (mkdtemp (pattern) == nullptr)
        return 1;
    const juce::File home (pattern);
    home.getChildFile ("config").createDirectory();
    setenv ("HOME", pattern, 1);
    setenv ("XDG_CONFIG_HOME", home.getChildFile ("config").getFullPathName().toRawUTF8(), 1);

    // JUCE loads libX11 at run time and unloads it at shutdown. The locale and
    // input-method data libX11 keeps for a focused window would then be
    // reported as leaks from an unknown module, beyond reach of the
    // suppressions; keeping the library mapped until exit keeps them
    // attributed to it.
    auto* x11 = dlopen ("libX11.so.6", RTLD_NOW | RTLD_NODELETE);

    if (auto setErrorHandler = x11 != nullptr ? reinterpret_cast<decltype (&XSetErrorHandler)> (dlsym (x11, "XSetErrorHandler")) : nullptr)
        setErrorHandler (reportXError);

    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        result = RUN_ALL_TESTS();
        dismissModalComponents();
    }
    home.deleteRecursively();
    return result;
}
