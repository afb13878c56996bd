/* Darwin's i386 exception frames number the stack and frame pointers the
 * other way round from the System V i386 numbering the Linux unwinder reads
 * (Darwin: 4 = EBP, 5 = ESP; System V: 4 = ESP, 5 = EBP). Before a mapped
 * dylib's __eh_frame is registered with the unwinder, every register operand
 * of its call-frame instructions is renumbered in place. */
#ifndef TORVEL_EH_FRAME_REGISTERS_H
#define TORVEL_EH_FRAME_REGISTERS_H

#include <stdint.h>

#include "macho_image.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Rewrites the CIEs and FDEs in data[0, size). Register numbers above 8,
 * DWARF expressions and 64-bit entries end the process (macho_fail): their
 * meaning cannot be carried over by renumbering. */
void eh_frame_registers_to_svr4(const struct macho_image* image, uint8_t* data, uint32_t size);

#ifdef __cplusplus
}
#endif

#endif
