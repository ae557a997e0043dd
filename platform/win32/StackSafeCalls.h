// Calls into a vendor library that work whichever convention its exports follow. On i686 a
// library may export __stdcall functions (the callee pops its arguments) under plain names,
// while the tool calls every entry point as __cdecl (the caller pops them): called directly,
// such a function would leave the stack pointer off by its arguments' size. An entry point is
// therefore handed out as a small stub that copies up to eight 32-bit arguments, calls the
// function and then restores the stack pointer from its own frame, so that both conventions
// return to a sound stack. On x86_64 there is one convention and the function itself is used.
#pragma once

namespace win32 {

class StackSafeCalls {
public:
    // Up to eight 32-bit words of arguments pass through a stub.
    static constexpr unsigned kArgumentWords = 8;
    // Distinct functions that can have a stub at once; a function keeps its stub.
    static constexpr unsigned kStubs = 64;

    // The function to call in place of `function`: its stub on i686, else `function`; null
    // when every stub is taken by other functions.
    static void* EntryFor(void* function);
};

}  // namespace win32
