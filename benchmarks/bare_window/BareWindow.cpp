// A minimal JUCE window built with the same modules and flags as nusk: the
// yardstick for nusk's start-up time and memory.
#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
class BareContent : public juce::Component
{
public:
    BareContent() { setSize (800, 600); }
};

class BareWindow : public juce::DocumentWindow
{
public:
    BareWindow()
        : DocumentWindow ("bare",
                          juce::Desktop::getInstance().getDefaultLookAndFeel()
                              .findColour (juce::ResizableWindow::backgroundColourId),
                          DocumentWindow::allButtons)
    {
        setUsingNativeTitleBar (true);
        setContentOwned (new BareContent(), true);
        setResizable (true, true);
        centreWithSize (getWidth(), getHeight());
        setVisible (true);
    }

    void closeButtonPressed() override { juce::JUCEApplication::getInstance()->systemRequestedQuit(); }
};

class BareApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "bare"; }
    const juce::String getApplicationVersion() override { return "1.0.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }
    void initialise (const juce::String&) override { window = std::make_unique<BareWindow>(); }
    void shutdown() override { window = nullptr; }

private:
    std::unique_ptr<BareWindow> window;
};
} // namespace

START_JUCE_APPLICATION (BareApplication)
