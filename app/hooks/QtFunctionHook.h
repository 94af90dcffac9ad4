#pragma once

// Hooks of Qt's own functions on the process-wide engine.
//
// Install them from the application object's constructor, on the GUI thread, before any
// widget shows and before another thread could run the functions; they are never removed.

// False when hooks are skipped: TY_NO_HOOKS=1 in the environment, or a sanitizer build.
bool qtHooksAllowed();
// The process-wide engine, initialised on the first call from any thread; false when it
// could not be initialised.
bool qtHookEngine();
// Creates and enables the hook of target; the trampoline that runs the unpatched function,
// or null when hooks are skipped or anything fails (then the function stays as it is).
void* hookQtFunction(void* target, void* detour);
// The code of an exported function of a library already loaded (the library's own file name,
// a mangled name for C++); null when either is not found.
void* libraryFunction(const char* library, const char* symbol);
