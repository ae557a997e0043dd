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
    movl 8(%ebp), %eax
    movl %eax, 0(%esp)
    movl 12(%ebp), %eax
    movl %eax, 4(%esp)
    movl 16(%ebp), %eax
    movl %eax, 8(%esp)
    movl 20(%ebp), %eax
    movl %eax, 12(%esp)
    movl 24(%ebp), %eax
    movl %eax, 16(%esp)
    movl 28(%ebp), %eax
    movl %eax, 20(%esp)
    movl 32(%ebp), %eax
    movl %eax, 24(%esp)
    movl 36(%ebp), %eax
    movl %eax, 28(%esp)
    call *(_rxt9_stack_safe_targets + 4 * \n)
    movl %ebp, %esp
    popl %ebp
    ret
    .endm

    .macro STUB_ADDRESS n
    .long rxt9_stack_safe_stub_\n
    .endm

    .altmacro
    .set stub, 0
    .rept 64
    STUB %stub
    .set stub, stub + 1
    .endr

    .section .rdata,"dr"
    .globl _rxt9_stack_safe_stubs
    .p2align 2
_rxt9_stack_safe_stubs:
    .set stub, 0
    .rept 64
    STUB_ADDRESS %stub
    .set stub, stub + 1
    .endr

    .data
    .globl _rxt9_stack_safe_targets
    .p2align 2
_rxt9_stack_safe_targets:
    .fill 64, 4, 0
