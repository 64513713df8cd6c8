#include "app/nuskApplication.h"
#include "app/MainComponent.h"
#include "app/X11DisplayCheck.h"

#include <iostream>

const juce::String nuskApplication::getApplicationName()
{
    return "nusk";
}

const juce::String nuskApplication::getApplicationVersion()
{
    return "1.0.0";
}

bool nuskApplication::moreThanOneInstanceAllowed()
{
    return true;
}

void nuskApplication::initialise (const juce::String&)
{
    const X11DisplayCheck display;

    if (! display.canOpenDisplay())
    {
        // Quitting before anything is built skips the message loop.
        std::cerr << display.describeFailure() << std::endl;
        setApplicationReturnValue (1);
        quit();
        return;
    }

    // The command line is deliberately ignored.
    mainWindow = std::make_unique<MainWindow> (getApplicationName());
}

void nuskApplication::shutdown()
{
    mainWindow = nullptr;
}

void nuskApplication::systemRequestedQuit()
{
    quit();
}

void nuskApplication::anotherInstanceStarted (const juce::String&)
{
}

nuskApplication::MainWindow::MainWindow (const juce::String& name)
    : DocumentWindow (name,
                      juce::Desktop::getInstance().getDefaultLookAndFeel()
                          .findColour (juce::ResizableWindow::backgroundColourId),
                      DocumentWindow::allButtons,
                      true)
{
    setUsingNativeTitleBar (true);
    setContentOwned (new MainComponent(), true);
    setResizable (true, true);
    centreWithSize (getWidth(), getHeight());
    setVisible (true);
}

void nuskApplication::MainWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
