#include "app/hooks/QtFunctionHook.h"

#include "app/hooks/InlineHook.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

bool qtHooksAllowed()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    const char* noHooks = std::getenv("TY_NO_HOOKS");
    return !noHooks || std::strcmp(noHooks, "1") != 0;
#endif
}

bool qtHookEngine()
{
    static const bool usable = initializeInlineHooks() == HookOk;
    return usable;
}

void* hookQtFunction(void* target, void* detour)
{
    if (!target || !qtHooksAllowed() || !qtHookEngine())
        return nullptr;
    void* trampoline = nullptr;
    if (createInlineHook(target, detour, &trampoline) != HookOk)
        return nullptr;
    if (enableInlineHook(target) != HookOk)
        return nullptr;
    return trampoline;
}

void* libraryFunction(const char* library, const char* symbol)
{
    void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle)
        return nullptr;
    void* function = dlsym(handle, symbol);
    dlclose(handle);
    return function;
}
