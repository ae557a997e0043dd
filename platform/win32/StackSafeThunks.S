/* Stubs that call a __cdecl or __stdcall function alike (see StackSafeCalls.h). Each stub
 * copies eight argument words from its caller's frame into a fresh, 16-byte aligned area,
 * calls its target and restores the stack pointer from the frame pointer, which both
 * conventions preserve; eax and edx carry the result back untouched. */
    .text
    .macro STUB n
rxt9_stack_safe_stub_\n:
    pushl %ebp
    movl %esp, %ebp
    andl $-16, %esp
    subl $32, %esp
    .set word, 0
    .rept 8
    movl 8+word(%ebp), %eax
    movl %eax, word(%esp)
    .set word, word + 4
    .endr
    call *(_rxt9_stack_safe_targets + 4 * \n)
    movl %ebp, %esp
    popl %ebp
    ret
    .endm

    .macro STUB_ADDRESS n
    .long rxt9_stack_safe_stub_\n
    .endm

    .macro EACH_STUB action
    .set stub, 0
    .rept 64
    \action %stub
    .set stub, stub + 1
    .endr
    .endm

    .altmacro
    EACH_STUB STUB

    .section .rdata,"dr"
    .globl _rxt9_stack_safe_stubs
    .p2align 2
_rxt9_stack_safe_stubs:
    EACH_STUB STUB_ADDRESS

    .data
    .globl _rxt9_stack_safe_targets
    .p2align 2
_rxt9_stack_safe_targets:
    .fill 64, 4, 0
