#pragma once

#include <QString>

#include <functional>

class Application;

// The whole run of ty_slideshow: platform and scaling, the single instance, names, resources,
// settings, crash reports, the start screen, init, the update check, the event loop and the
// cleanup after it. A second start wakes the running instance and returns at once.
// beforeLoop, when given, runs once init has succeeded, just before the event loop: the
// end-to-end driver, the screenshot and the start-up benchmark drive the program from there.
int runSlideshow(int& argc, char** argv, const std::function<void(Application&)>& beforeLoop = {});

// The name the program runs under, which names its settings, history and autosave folders.
QString slideshowApplicationName();
