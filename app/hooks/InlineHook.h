#pragma once

// Replaces functions of this process in memory: the first bytes of a target function become a
// jump to a detour, and a trampoline keeps running the target's own code.
//
// The target's jump (E9 rel32) reaches a relay (FF 25 00000000 and the detour's address) in a
// page of trampolines within 2 GB of it. Trampoline pages are shared by every target in their
// reach; each hook takes a 64-byte slot of one: the relay, then its trampoline (the moved
// instructions and the jump back). Instructions are decoded as InstructionLength.h says and moved
// as Trampoline.h says.
//
// Every operation is serialised by one lock. Other threads are not stopped while bytes are
// written: enable and disable hooks before any other thread could run the targets.

enum InlineHookStatus {
    HookOk = 0,
    HookAlreadyInitialized = 1,
    HookNotInitialized = 2,
    HookAlreadyCreated = 3,
    HookNotCreated = 4,
    HookAlreadyEnabled = 5,
    HookAlreadyDisabled = 6,
    HookNotExecutable = 7,
    HookUnsupportedFunction = 8,
    HookMemoryAlloc = 9,
    HookMemoryProtect = 10,
};

int initializeInlineHooks();
// Disables every hook and frees every trampoline page; when a hook cannot be disabled, its
// status is returned and the engine stays as it is.
int uninitializeInlineHooks();
// Builds the trampoline and records the hook, not yet enabled; trampoline (when not null)
// receives the entry that runs the unpatched target. On failure the target is untouched.
int createInlineHook(void* target, void* detour, void** trampoline);
// A null target acts on every hook that is not yet in that state.
int setInlineHookEnabled(void* target, bool enable);
int enableInlineHook(void* target);
int disableInlineHook(void* target);
