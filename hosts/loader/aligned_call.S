/* torvel_call_aligned(function): calls a no-argument function of a dylib
 * with the stack 16-byte aligned at the call, as Darwin i386 code assumes
 * (it keeps SSE values in stack slots with aligned moves), whatever the
 * alignment of the caller. */
        .text
        .globl torvel_call_aligned
        .hidden torvel_call_aligned
        .type torvel_call_aligned, @function
torvel_call_aligned:
        pushl %ebp
        movl %esp, %ebp
        andl $-16, %esp
        call *8(%ebp)
        movl %ebp, %esp
        popl %ebp
        ret
        .size torvel_call_aligned, . - torvel_call_aligned

        .section .note.GNU-stack, "", @progbits
