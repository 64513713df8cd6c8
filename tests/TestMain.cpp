#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <dlfcn.h>
#include <stdexcept>
#include <unistd.h>

namespace
{
/** Points HOME and XDG_CONFIG_HOME at a fresh temporary folder for the whole
    process and removes it at the end. */
class TemporaryConfigHome
{
public:
    TemporaryConfigHome()
    {
        char pattern[] = "/tmp/nusk-test-XXXXXX";
        if (mkdtemp (pattern) == nullptr)
            throw std::runtime_error ("cannot create a temporary folder");

        folder = pattern;
        const auto config = folder + "/config";
        juce::File (config).createDirectory();
        setenv ("HOME", folder.toRawUTF8(), 1);
        setenv ("XDG_CONFIG_HOME", config.toRawUTF8(), 1);
    }

    ~TemporaryConfigHome()
    {
        juce::File (folder).deleteRecursively();
    }

private:
    juce::String folder;
};

/** JUCE loads libX11 at run time and unloads it at shutdown. The locale and
    input-method data libX11 keeps for a focused window would then be reported
    as leaks from an unknown module, beyond reach of the suppressions; keeping
    the library mapped until exit keeps them attributed to it. */
void keepX11Loaded()
{
    dlopen ("libX11.so.6", RTLD_NOW | RTLD_NODELETE);
}
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    if (GTEST_FLAG_GET (list_tests))
        return RUN_ALL_TESTS();

    TemporaryConfigHome configHome;
    keepX11Loaded();
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        result = RUN_ALL_TESTS();
        dismissModalComponents();
    }
    return result;
}
