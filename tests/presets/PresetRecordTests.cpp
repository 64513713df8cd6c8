#include <gtest/gtest.h>

#include "PresetTestSupport.h"
#include "presets/PresetException.h"
#include "presets/PresetManager.h"

#include <type_traits>

TEST (PresetRecord, NameIsTheFileNameUpToItsLastDot)
{
    PresetManager manager ("nusk");
    const auto init = manager.makePreset (manager.userPresetFolder.getChildFile ("Init.preset"));

    EXPECT_EQ (init.name, "Init");
    EXPECT_FALSE (init.isFactory);
    EXPECT_EQ (manager.makePreset (juce::File ("/presets/My.Bass.preset")).name, "My.Bass");
    EXPECT_EQ (manager.makePreset (juce::File ("/presets/NoDot")).name, "NoDot");
}

TEST (PresetRecord, FactoryFlagHoldsAtAnyDepthBelowTheFactoryFolderOnly)
{
    PresetManager manager ("nusk");
    const auto factory = manager.factoryPresetFolder;

    EXPECT_EQ (factory.getFullPathName(), "/Library/Application Support/Brevanto/nusk/Presets/main");
    EXPECT_TRUE (manager.makePreset (factory.getChildFile ("Keys/Old/Deep.preset")).isFactory);
    EXPECT_FALSE (manager.makePreset (juce::File (factory.getFullPathName() + "2/Near.preset")).isFactory);

    manager.factoryPresetFolder = juce::File();
    EXPECT_FALSE (manager.makePreset (factory.getChildFile ("Deep.preset")).isFactory);
}

TEST (PresetCaller, CallsTheLastAddedFirstAndAddsEachListenerOnce)
{
    juce::StringArray log;
    LoggingListener a ("A", log), b ("B", log);
    Caller<PresetManagerListener> caller;

    caller.call (&PresetManagerListener::presetListChanged, 0, juce::PopupMenu());
    EXPECT_TRUE (log.isEmpty());

    caller.addListener (&a);
    caller.addListener (&b);
    caller.addListener (&a);
    caller.call (&PresetManagerListener::currentPresetChanged, Preset { "Init", false, {} }, 4);

    EXPECT_EQ (caller.listeners.size(), 2);
    EXPECT_EQ (log.joinIntoString ("|"), "B current Init 4|A current Init 4");
}

TEST (PresetCaller, WalkSurvivesTheListShrinkingOrGrowingDuringACall)
{
    juce::StringArray log;
    LoggingListener a ("A", log), b ("B", log), c ("C", log), late ("Late", log);
    Caller<PresetManagerListener> caller;
    for (auto* listener : { &a, &b, &c })
        caller.addListener (listener);

    c.onCall = [&] { caller.listeners.removeRange (1, 2); };
    caller.call (&PresetManagerListener::presetListChanged, 1, juce::PopupMenu());
    EXPECT_EQ (log.joinIntoString ("|"), "C list 1|A list 1");

    log.clear();
    a.onCall = [&] { caller.addListener (&late); };
    caller.call (&PresetManagerListener::presetListChanged, 2, juce::PopupMenu());
    EXPECT_EQ (log.joinIntoString ("|"), "A list 2");

    log.clear();
    late.onCall = [&] { caller.listeners.clear(); };
    caller.call (&PresetManagerListener::presetListChanged, 3, juce::PopupMenu());
    EXPECT_EQ (log.joinIntoString ("|"), "Late list 3");
}

TEST (PresetError, PassesHandlersOfStdExceptionAndReachesItsOwn)
{
    static_assert (! std::is_convertible_v<PresetException*, std::exception*>);

    const auto throwPastStdHandler = []
    {
        try
        {
            throw PresetException ("Could not parse preset", "Loading XML");
        }
        catch (const std::exception&)
        {
            ADD_FAILURE() << "a handler of std::exception caught the preset error";
        }
    };

    try
    {
        throwPastStdHandler();
        FAIL() << "nothing was thrown";
    }
    catch (const PresetException& error)
    {
        EXPECT_STREQ (error.what(), "Could not parse preset");
        EXPECT_EQ (error.context, "Loading XML");
    }
}
