/* setjmp and longjmp of the guest, each under three names at one address.
 *
 * The jump buffer holds six words: EBX, ESI, EDI, EBP, the caller's stack
 * pointer once the save returns (the address of its first argument) and the
 * return address. Nothing else is saved: not the signal mask, not the
 * floating-point or SSE control words, not the flags. sigsetjmp's
 * save-mask argument is ignored. */
#include "asm_names.h"

        .text
        .p2align 4
        TORVEL_ASM_FUNCTION(setjmp)
        TORVEL_ASM_FUNCTION(_setjmp)
        TORVEL_ASM_FUNCTION(sigsetjmp)
TORVEL_ASM_SYMBOL(setjmp):
TORVEL_ASM_SYMBOL(_setjmp):
TORVEL_ASM_SYMBOL(sigsetjmp):
        movl    4(%esp), %eax           /* the buffer */
        movl    %ebx, 0(%eax)
        movl    %esi, 4(%eax)
        movl    %edi, 8(%eax)
        movl    %ebp, 12(%eax)
        leal    4(%esp), %ecx           /* the stack pointer after our return */
        movl    %ecx, 16(%eax)
        movl    (%esp), %ecx            /* the return address */
        movl    %ecx, 20(%eax)
        xorl    %eax, %eax
        ret
        TORVEL_ASM_END(setjmp)
        TORVEL_ASM_END(_setjmp)
        TORVEL_ASM_END(sigsetjmp)

        .p2align 4
        TORVEL_ASM_FUNCTION(longjmp)
        TORVEL_ASM_FUNCTION(_longjmp)
        TORVEL_ASM_FUNCTION(siglongjmp)
TORVEL_ASM_SYMBOL(longjmp):
TORVEL_ASM_SYMBOL(_longjmp):
TORVEL_ASM_SYMBOL(siglongjmp):
        movl    4(%esp), %ecx           /* the buffer */
        movl    8(%esp), %eax           /* the value; 0 becomes 1 */
        testl   %eax, %eax
        jnz     1f
        movl    $1, %eax
1:      movl    0(%ecx), %ebx
        movl    4(%ecx), %esi
        movl    8(%ecx), %edi
        movl    12(%ecx), %ebp
        movl    16(%ecx), %esp
        jmp     *20(%ecx)               /* a second return from the save */
        TORVEL_ASM_END(longjmp)
        TORVEL_ASM_END(_longjmp)
        TORVEL_ASM_END(siglongjmp)

#if !defined(__APPLE__)
        .section .note.GNU-stack, "", @progbits
#endif
