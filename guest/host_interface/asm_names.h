/* Symbol spelling for the guest libraries' assembly sources, which both
 * i386 targets assemble from one file: Darwin prefixes every C name with an
 * underscore and has no ELF symbol types or sizes. */
#ifndef TORVEL_GUEST_ASM_NAMES_H
#define TORVEL_GUEST_ASM_NAMES_H

#if defined(__APPLE__)
#  define TORVEL_ASM_SYMBOL(name) _##name
#  define TORVEL_ASM_FUNCTION(name) .globl TORVEL_ASM_SYMBOL(name)
#  define TORVEL_ASM_END(name)
#else
#  define TORVEL_ASM_SYMBOL(name) name
#  define TORVEL_ASM_FUNCTION(name) .globl name; .type name, @function
#  define TORVEL_ASM_END(name) .size name, . - name
#endif

#endif
