#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
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

void dismissModalComponents()
{
    juce::ModalComponentManager::getInstance()->cancelAllModalComponents();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
}
} // namespace

int main (int argc, char** argv)
{
    testing::InitGoogleTest (&argc, argv);

    if (GTEST_FLAG_GET (list_tests))
        return RUN_ALL_TESTS();

    TemporaryConfigHome configHome;
    int result = 0;
    {
        juce::ScopedJuceInitialiser_GUI gui;
        result = RUN_ALL_TESTS();
        dismissModalComponents();
    }
    return result;
}
