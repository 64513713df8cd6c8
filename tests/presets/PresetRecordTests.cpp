#include "PresetTestSupport.h"

#include <type_traits>

TEST (PresetRecord, NameIsTheFileNameUpToItsLastDotAndFactoryMeansBelowTheFactoryFolder)
{
    PresetManager manager ("nusk");
    const auto init = manager.makePreset (manager.userPresetFolder.getChildFile ("Init.preset"));
    const auto factory = manager.factoryPresetFolder;

    EXPECT_EQ (init.name, "Init");
    EXPECT_FALSE (init.isFactory);
    EXPECT_EQ (manager.makePreset (juce::File ("/p/My.Bass.preset")).name, "My.Bass");
    EXPECT_EQ (manager.makePreset (juce::File ("/p/NoDot")).name, "NoDot");

    EXPECT_EQ (factory.getFullPathName(), "/Library/Application Support/Brevanto/nusk/Presets/main");
    EXPECT_TRUE (manager.makePreset (factory.getChildFile ("Keys/Old/Deep.preset")).isFactory);
    EXPECT_FALSE (manager.makePreset (juce::File (factory.getFullPathName() + "2/Near.preset")).isFactory);
    manager.factoryPresetFolder = juce::File();
    EXPECT_FALSE (manager.makePreset (factory.getChildFile ("Deep.preset")).isFactory);
}

TEST (PresetCaller, CallsTheLastAddedFirstOnceEachAndSurvivesTheListChanging)
{
    juce::StringArray log;
    Recorder a ("A", log), b ("B", log), c ("C", log), late ("Late", log);
    Caller<PresetManagerListener> caller;
    const auto callWith = [&] (int n) { log.clear(); caller.call (&PresetManagerListener::presetListChanged, n, juce::PopupMenu()); return log.joinIntoString ("|"); };

    EXPECT_EQ (callWith (0), "");
    for (auto* listener : { &a, &b, &a, &c })
        caller.addListener (listener);
    EXPECT_EQ (callWith (1), "C list 1|B list 1|A list 1");

    c.onCall = [&] { caller.listeners.removeRange (1, 2); };
    EXPECT_EQ (callWith (2), "C list 2|A list 2");

    a.onCall = [&] { caller.addListener (&late); };
    EXPECT_EQ (callWith (3), "A list 3");

    late.onCall = [&] { caller.listeners.clear(); };
    EXPECT_EQ (callWith (4), "Late list 4");
}

TEST (PresetError, PassesHandlersOfStdExceptionAndReachesItsOwn)
{
    static_assert (! std::is_convertible_v<PresetException*, std::exception*>);

    try
    {
        try
        {
            throw PresetException ("Could not parse preset", "Loading XML");
        }
        catch (const std::exception&)
        {
            ADD_FAILURE() << "a handler of std::exception caught the preset error";
        }
    }
    catch (const PresetException& error)
    {
        EXPECT_STREQ (error.what(), "Could not parse preset");
        EXPECT_EQ (error.context, "Loading XML");
    }
}
