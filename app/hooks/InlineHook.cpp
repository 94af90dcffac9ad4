#include "app/hooks/InlineHook.h"

#include "app/hooks/ProcessMemory.h"
#include "app/hooks/Trampoline.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

namespace {

// A slot: the relay to the detour, then the trampoline.
const std::size_t slotSize = 64;
const std::size_t trampolineOffset = 16;
const std::uint8_t relayJump[] = {0xff, 0x25, 0, 0, 0, 0}; // jmp [rip], the address follows
// Every byte of a page in reach lies well within a rel32 of the target.
const std::uintptr_t reach = 0x7fff0000;

struct Page
{
    std::uint8_t* base;
    std::uint64_t usedSlots; // one bit per slot
};
static_assert(codePageSize / slotSize == 64, "one bit per slot");

struct Hook
{
    std::uint8_t* target;
    std::uint8_t* slot;
    bool patchAbove;
    bool enabled;
    std::uint8_t saved[nearJumpSize + 2];

    std::uint8_t* patchAt() const { return patchAbove ? target - nearJumpSize : target; }
    std::size_t patchSize() const { return patchAbove ? nearJumpSize + 2 : nearJumpSize; }
};

struct Engine
{
    std::vector<Hook> hooks;
    std::vector<Page> pages;
};

Engine* engine = nullptr;
std::atomic<bool> engineLocked{false};

class EngineLock
{
public:
    EngineLock()
    {
        for (int tries = 0; engineLocked.exchange(true, std::memory_order_acquire); ++tries) {
            if (tries < 32)
                std::this_thread::yield();
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ~EngineLock() { engineLocked.store(false, std::memory_order_release); }
    EngineLock(const EngineLock&) = delete;
    EngineLock& operator=(const EngineLock&) = delete;
};

std::uintptr_t address(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}


std::uint8_t* takeSlot(Engine& state, const std::uint8_t* target)
{
    for (Page& page : state.pages) {
        if (page.usedSlots == ~std::uint64_t(0) || !pageWithinReach(address(page.base), target, reach))
            continue;
        const int slot = __builtin_ctzll(~page.usedSlots);
        page.usedSlots |= std::uint64_t(1) << slot;
        return page.base + slot * slotSize;
    }
    void* base = mapCodePageNear(target, reach);
    if (!base)
        return nullptr;
    state.pages.push_back({static_cast<std::uint8_t*>(base), 1});
    return state.pages.back().base;
}

void releaseSlot(Engine& state, std::uint8_t* slot)
{
    auto page = std::find_if(state.pages.begin(), state.pages.end(), [slot](const Page& p) {
        return p.base <= slot && slot < p.base + codePageSize;
    });
    if (page == state.pages.end())
        return;
    page->usedSlots &= ~(std::uint64_t(1) << ((slot - page->base) / slotSize));
    if (page->usedSlots)
        return;
    munmap(page->base, codePageSize);
    state.pages.erase(page);
}

Hook* findHook(Engine& state, const void* target)
{
    for (Hook& hook : state.hooks) {
        if (hook.target == target)
            return &hook;
    }
    return nullptr;
}

// The slot's bytes: the relay to the detour, padding, the trampoline's code.
bool writeSlot(std::uint8_t* slot, void* detour, const Trampoline& trampoline)
{
    std::uint8_t bytes[slotSize];
    std::memset(bytes, 0xcc, sizeof bytes);
    std::memcpy(bytes, relayJump, sizeof relayJump);
    const std::uintptr_t destination = address(detour);
    std::memcpy(bytes + sizeof relayJump, &destination, sizeof destination);
    std::memcpy(bytes + trampolineOffset, trampoline.code.data(), trampoline.code.size());
    return writeCode(slot, bytes, sizeof bytes);
}

int applyHook(Hook& hook, bool enable)
{
    std::uint8_t bytes[sizeof hook.saved];
    if (enable) {
        writeNearJump(bytes, address(hook.patchAt()), address(hook.slot));
        bytes[5] = 0xeb; // to the jump above, when patching above
        bytes[6] = 0xf9;
    } else {
        std::memcpy(bytes, hook.saved, sizeof bytes);
    }
    if (!writeCode(hook.patchAt(), bytes, hook.patchSize()))
        return HookMemoryProtect;
    hook.enabled = enable;
    return HookOk;
}

int setEnabled(Engine& state, void* target, bool enable)
{
    if (target) {
        Hook* hook = findHook(state, target);
        if (!hook)
            return HookNotCreated;
        if (hook->enabled == enable)
            return enable ? HookAlreadyEnabled : HookAlreadyDisabled;
        return applyHook(*hook, enable);
    }
    for (Hook& hook : state.hooks) {
        if (hook.enabled == enable)
            continue;
        const int status = applyHook(hook, enable);
        if (status != HookOk)
            return status;
    }
    return HookOk;
}

} // namespace

int initializeInlineHooks()
{
    EngineLock lock;
    if (engine)
        return HookAlreadyInitialized;
    engine = new (std::nothrow) Engine;
    return engine ? HookOk : HookMemoryAlloc;
}

int uninitializeInlineHooks()
{
    EngineLock lock;
    if (!engine)
        return HookNotInitialized;
    const int status = setEnabled(*engine, nullptr, false);
    if (status != HookOk)
        return status;
    for (const Page& page : engine->pages)
        munmap(page.base, codePageSize);
    delete engine;
    engine = nullptr;
    return HookOk;
}

int createInlineHook(void* target, void* detour, void** trampoline)
{
    EngineLock lock;
    if (!engine)
        return HookNotInitialized;
    if (!target || !detour || !isExecutable(target) || !isExecutable(detour))
        return HookNotExecutable;
    if (findHook(*engine, target))
        return HookAlreadyCreated;
    auto* code = static_cast<std::uint8_t*>(target);
    std::uint8_t* slot = takeSlot(*engine, code);
    if (!slot)
        return HookMemoryAlloc;
    Trampoline built;
    if (!buildTrampoline(code, address(slot + trampolineOffset), slotSize - trampolineOffset, built)) {
        releaseSlot(*engine, slot);
        return HookUnsupportedFunction;
    }
    if (!writeSlot(slot, detour, built)) {
        releaseSlot(*engine, slot);
        return HookMemoryProtect;
    }
    Hook hook{code, slot, built.patchAbove, false, {}};
    std::memcpy(hook.saved, hook.patchAt(), hook.patchSize());
    engine->hooks.push_back(hook);
    if (trampoline)
        *trampoline = slot + trampolineOffset;
    return HookOk;
}

int setInlineHookEnabled(void* target, bool enable)
{
    EngineLock lock;
    if (!engine)
        return HookNotInitialized;
    return setEnabled(*engine, target, enable);
}

int enableInlineHook(void* target)
{
    return setInlineHookEnabled(target, true);
}

int disableInlineHook(void* target)
{
    return setInlineHookEnabled(target, false);
}
