#include "PresetTestSupport.h"

TEST (PresetCaller, CallsTheLastAddedFirstOnceEachAndSurvivesTheListChanging)
{
    juce::StringArray log;
    Recorder a ("A", log), b ("B", log), c ("C", log), late ("Late", log);
    Caller<PresetManagerListener> caller;
    const auto callWith = [&] (int n) { log.clear(); caller.call (&PresetManagerListener::presetListChanged, n, juce::PopupMenu()); return log.joinIntoString ("|"); };

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
