#include "eh_frame_registers.h"

#include <string.h>

#define MAX_CIES 64

struct cie {
  uint32_t offset;      /* of the length word in the section */
  uint8_t fde_encoding; /* 'R' augmentation; absptr when absent */
  int augmented;        /* 'z': FDEs carry augmentation data */
};

struct cursor {
  const struct macho_image* image;
  uint8_t *p, *end;
};

static uint8_t take(struct cursor* c) {
  if (c->p >= c->end) macho_fail(c->image, "an __eh_frame entry is truncated");
  return *c->p++;
}

static uint32_t take_uleb(struct cursor* c) {
  uint32_t value = 0;
  for (int shift = 0;; shift += 7) {
    uint8_t b = take(c);
    if (shift < 32) value |= (uint32_t)(b & 0x7F) << shift;
    if (!(b & 0x80)) return value;
    if (shift > 35) macho_fail(c->image, "a number in __eh_frame is too long");
  }
}

static void skip(struct cursor* c, uint32_t count) {
  if (count > (uint32_t)(c->end - c->p)) macho_fail(c->image, "an __eh_frame entry is truncated");
  c->p += count;
}

/* Skips one pointer of the given DW_EH_PE encoding. */
static void skip_encoded(struct cursor* c, uint8_t encoding) {
  if (encoding == 0xFF) return; /* omitted */
  switch (encoding & 0x0F) {
    case 0x00: case 0x03: case 0x0B: skip(c, 4); break;
    case 0x02: case 0x0A: skip(c, 2); break;
    case 0x04: case 0x0C: skip(c, 8); break;
    case 0x01: case 0x09: take_uleb(c); break;
    default: macho_fail(c->image, "pointer encoding 0x%02x in __eh_frame is unknown", encoding);
  }
}

static uint8_t svr4_register(const struct macho_image* image, uint32_t darwin) {
  if (darwin == 4) return 5; /* EBP */
  if (darwin == 5) return 4; /* ESP */
  if (darwin > 8) macho_fail(image, "register %u in __eh_frame has no System V counterpart here", darwin);
  return (uint8_t)darwin;
}

/* A register operand (ULEB128). Those that matter fit in one byte, so the
 * new number takes the same room. */
static void renumber_operand(struct cursor* c) {
  uint8_t* at = c->p;
  uint32_t reg = take_uleb(c);
  if (c->p - at != 1) macho_fail(c->image, "register %u in __eh_frame has no System V counterpart here", reg);
  *at = svr4_register(c->image, reg);
}

static void renumber_instructions(struct cursor* c, uint8_t fde_encoding) {
  while (c->p < c->end) {
    uint8_t* at = c->p;
    uint8_t op = take(c);
    switch (op & 0xC0) {
      case 0x40: continue; /* advance_loc */
      case 0x80:           /* offset: register in the low six bits */
        *at = (uint8_t)(0x80 | svr4_register(c->image, op & 0x3F));
        take_uleb(c);
        continue;
      case 0xC0: /* restore */
        *at = (uint8_t)(0xC0 | svr4_register(c->image, op & 0x3F));
        continue;
    }
    switch (op) {
      case 0x00: case 0x0A: case 0x0B: break;        /* nop, remember_state, restore_state */
      case 0x01: skip_encoded(c, fde_encoding); break; /* set_loc */
      case 0x02: skip(c, 1); break;
      case 0x03: skip(c, 2); break;
      case 0x04: skip(c, 4); break;
      case 0x06: case 0x07: case 0x08: case 0x0D: /* one register */
        renumber_operand(c);
        break;
      case 0x05: case 0x0C: case 0x11: case 0x12: case 0x14: case 0x15: case 0x2F: /* register, number */
        renumber_operand(c);
        take_uleb(c); /* an SLEB128 has the same length rules */
        break;
      case 0x09: /* register, register */
        renumber_operand(c);
        renumber_operand(c);
        break;
      case 0x0E: case 0x13: case 0x2E: take_uleb(c); break; /* a number */
      case 0x0F: case 0x10: case 0x16:
        macho_fail(c->image, "__eh_frame uses a DWARF expression (opcode 0x%02x), which cannot be renumbered", op);
      default: macho_fail(c->image, "unknown call-frame instruction 0x%02x in __eh_frame", op);
    }
  }
}

static uint32_t get32(const uint8_t* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void read_cie(const struct macho_image* image, struct cursor* c, struct cie* cie) {
  uint8_t version = take(c);
  if (version != 1 && version != 3) macho_fail(image, "CIE version %u in __eh_frame is unknown", version);
  const char* augmentation = (const char*)c->p;
  uint8_t* nul = memchr(c->p, 0, (size_t)(c->end - c->p));
  if (!nul) macho_fail(image, "a CIE's augmentation string is not terminated");
  c->p = nul + 1;
  take_uleb(c); /* code alignment */
  take_uleb(c); /* data alignment */
  if (version == 1) {
    uint8_t* at = c->p;
    *at = svr4_register(image, take(c));
  } else {
    renumber_operand(c);
  }
  cie->fde_encoding = 0;
  cie->augmented = augmentation[0] == 'z';
  if (augmentation[0] != 0 && !cie->augmented)
    macho_fail(image, "CIE augmentation \"%s\" is not supported", augmentation);
  if (cie->augmented) {
    uint32_t length = take_uleb(c);
    struct cursor data = {image, c->p, c->p};
    skip(c, length);
    data.end = c->p;
    for (const char* a = augmentation + 1; *a; ++a) {
      if (*a == 'R') {
        cie->fde_encoding = take(&data);
      } else if (*a == 'P') {
        skip_encoded(&data, take(&data));
      } else if (*a == 'L') {
        take(&data);
      } else if (*a != 'S') {
        macho_fail(image, "CIE augmentation \"%s\" is not supported", augmentation);
      }
    }
  }
  renumber_instructions(c, cie->fde_encoding);
}

void eh_frame_registers_to_svr4(const struct macho_image* image, uint8_t* data, uint32_t size) {
  struct cie cies[MAX_CIES];
  unsigned cie_count = 0;
  uint32_t offset = 0;
  while (offset < size) {
    if (size - offset < 4) macho_fail(image, "__eh_frame ends inside an entry's length");
    uint32_t length = get32(data + offset);
    if (length == 0) break; /* end marker */
    if (length == 0xFFFFFFFFu) macho_fail(image, "64-bit __eh_frame entries are not supported on i386");
    if (length < 4 || length > size - offset - 4) macho_fail(image, "an __eh_frame entry at 0x%x overruns the section", offset);
    struct cursor c = {image, data + offset + 8, data + offset + 4 + length};
    uint32_t id = get32(data + offset + 4);
    if (id == 0) {
      if (cie_count == MAX_CIES) macho_fail(image, "more than %d CIEs in __eh_frame", MAX_CIES);
      cies[cie_count].offset = offset;
      read_cie(image, &c, &cies[cie_count]);
      ++cie_count;
    } else {
      /* The CIE pointer counts back from the field itself. */
      uint32_t cie_offset = offset + 4 - id;
      const struct cie* cie = NULL;
      for (unsigned i = 0; i < cie_count; ++i)
        if (cies[i].offset == cie_offset) cie = &cies[i];
      if (cie == NULL) macho_fail(image, "the FDE at 0x%x names no CIE before it", offset);
      skip_encoded(&c, cie->fde_encoding); /* pc_begin */
      skip_encoded(&c, cie->fde_encoding & 0x0F); /* pc_range: the value format only */
      if (cie->augmented) skip(&c, take_uleb(&c));
      renumber_instructions(&c, cie->fde_encoding);
    }
    offset += 4 + length;
  }
}
