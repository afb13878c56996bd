/* __tlv_bootstrap: the accessor of the guest's thread-local variables.
 *
 * Guest code loads a descriptor's address into EAX and calls through the
 * descriptor's first word, which the host binds to this routine. It asks the
 * host for the calling thread's address of the variable and returns it in
 * EAX; every other general register, the stack pointer and XMM0-XMM7 are
 * as they were (the flags are not). No address is cached: every access
 * calls the host. */
#include "asm_names.h"

        .text
        .p2align 4
        TORVEL_ASM_FUNCTION(__tlv_bootstrap)
TORVEL_ASM_SYMBOL(__tlv_bootstrap):
        pushl   %ecx
        pushl   %edx
        /* 128 bytes for XMM0-7 and a word for the descriptor would fit in
         * 136, but callers call with the stack 16-byte aligned, so after
         * the return address, the two pushes and the argument, 136 would
         * enter the host's function 8 bytes off the alignment the i386
         * ABIs promise a callee (aligned SSE spills there would fault).
         * 144 keeps it aligned. */
        subl    $144, %esp
        movdqu  %xmm0, 0(%esp)
        movdqu  %xmm1, 16(%esp)
        movdqu  %xmm2, 32(%esp)
        movdqu  %xmm3, 48(%esp)
        movdqu  %xmm4, 64(%esp)
        movdqu  %xmm5, 80(%esp)
        movdqu  %xmm6, 96(%esp)
        movdqu  %xmm7, 112(%esp)
        movl    %eax, 128(%esp)

        pushl   %eax                    /* torvel_tlv_addr(descriptor) */
#if defined(__APPLE__)
        call    TORVEL_ASM_SYMBOL(torvel_tlv_addr)
#else
        /* Position-independent, without a PLT call (which would need EBX
         * as the GOT pointer): the host function's address from the GOT,
         * with ECX, saved above, as the base. */
        call    1f
1:      popl    %ecx
        addl    $_GLOBAL_OFFSET_TABLE_+(.-1b), %ecx
        movl    torvel_tlv_addr@GOT(%ecx), %ecx
        call    *%ecx
#endif
        addl    $4, %esp

        movdqu  0(%esp), %xmm0
        movdqu  16(%esp), %xmm1
        movdqu  32(%esp), %xmm2
        movdqu  48(%esp), %xmm3
        movdqu  64(%esp), %xmm4
        movdqu  80(%esp), %xmm5
        movdqu  96(%esp), %xmm6
        movdqu  112(%esp), %xmm7
        addl    $144, %esp
        popl    %edx
        popl    %ecx
        ret
        TORVEL_ASM_END(__tlv_bootstrap)

#if !defined(__APPLE__)
        .section .note.GNU-stack, "", @progbits
#endif
