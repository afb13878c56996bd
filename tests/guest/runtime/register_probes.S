/* Register-level probes for the jump functions and the thread-local
 * bootstrap, whose contracts are about registers C cannot see. Linux i386
 * only (the test programs are Linux programs). */

        .text

/* int jump_probe(void* buf, int value, int (*save)(void*),
 *                void (*jumper)(void*, int), unsigned* seen)
 * Puts known values in EBX, ESI, EDI and EBP, calls save(buf), and on its
 * first return calls jumper(buf, value), which is to jump back. On the
 * second return records EBX, ESI, EDI, EBP in seen[0..3], the stack pointer
 * in seen[4] (seen[5] holds it as it was before the save), and returns what
 * the save returned. */
        .globl  jump_probe
        .type   jump_probe, @function
jump_probe:
        pushl   %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    36(%esp), %ecx          /* seen */
        movl    %esp, 20(%ecx)
        movl    $0xB0B0B0B0, %ebx
        movl    $0x5E5E5E5E, %esi
        movl    $0xD1D1D1D1, %edi
        movl    $0xEBEBEBEB, %ebp
        pushl   20(%esp)                /* buf */
        call    *32(%esp)               /* save(buf) */
        addl    $4, %esp
        testl   %eax, %eax
        jnz     1f
        pushl   24(%esp)                /* value */
        pushl   24(%esp)                /* buf */
        call    *40(%esp)               /* jumper(buf, value): does not return */
        ud2
1:      movl    36(%esp), %ecx
        movl    %ebx, 0(%ecx)
        movl    %esi, 4(%ecx)
        movl    %edi, 8(%ecx)
        movl    %ebp, 12(%ecx)
        movl    %esp, 16(%ecx)
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
        .size   jump_probe, . - jump_probe

/* void* tlv_probe(void* descriptor, const unsigned char xmm_in[128],
 *                 unsigned char xmm_out[128], unsigned gp_out[6])
 * Loads XMM0-XMM7 from xmm_in and known values into ECX, EDX, EBX, ESI,
 * EDI and EBP, accesses the variable through the descriptor as compiled
 * guest code does, and stores what the registers hold afterwards. Returns
 * the address the access produced. */
        .globl  tlv_probe
        .type   tlv_probe, @function
tlv_probe:
        pushl   %ebp
        pushl   %ebx
        pushl   %esi
        pushl   %edi
        movl    24(%esp), %eax          /* xmm_in */
        movdqu  0(%eax), %xmm0
        movdqu  16(%eax), %xmm1
        movdqu  32(%eax), %xmm2
        movdqu  48(%eax), %xmm3
        movdqu  64(%eax), %xmm4
        movdqu  80(%eax), %xmm5
        movdqu  96(%eax), %xmm6
        movdqu  112(%eax), %xmm7
        movl    20(%esp), %eax          /* descriptor */
        movl    $0xC1C1C1C1, %ecx
        movl    $0xD2D2D2D2, %edx
        movl    $0xB3B3B3B3, %ebx
        movl    $0x54545454, %esi
        movl    $0xD5D5D5D5, %edi
        movl    %esp, %ebp
        call    *(%eax)
        pushl   %eax
        movl    36(%esp), %eax          /* gp_out, one push further */
        movl    %ecx, 0(%eax)
        movl    %edx, 4(%eax)
        movl    %ebx, 8(%eax)
        movl    %esi, 12(%eax)
        movl    %edi, 16(%eax)
        subl    %esp, %ebp              /* 4 when the stack pointer came back */
        movl    %ebp, 20(%eax)
        movl    32(%esp), %eax          /* xmm_out */
        movdqu  %xmm0, 0(%eax)
        movdqu  %xmm1, 16(%eax)
        movdqu  %xmm2, 32(%eax)
        movdqu  %xmm3, 48(%eax)
        movdqu  %xmm4, 64(%eax)
        movdqu  %xmm5, 80(%eax)
        movdqu  %xmm6, 96(%eax)
        movdqu  %xmm7, 112(%eax)
        popl    %eax
        popl    %edi
        popl    %esi
        popl    %ebx
        popl    %ebp
        ret
        .size   tlv_probe, . - tlv_probe

/* void* tlv_aligned_access(void* descriptor)
 * Accesses the variable as compiled guest code does from a frame whose
 * stack is 16-byte aligned at the call, as the compilers keep it at every
 * call site. */
        .globl  tlv_aligned_access
        .type   tlv_aligned_access, @function
tlv_aligned_access:
        pushl   %ebp
        movl    %esp, %ebp
        movl    8(%ebp), %eax
        andl    $-16, %esp
        call    *(%eax)
        movl    %ebp, %esp
        popl    %ebp
        ret
        .size   tlv_aligned_access, . - tlv_aligned_access

        .section .note.GNU-stack, "", @progbits
