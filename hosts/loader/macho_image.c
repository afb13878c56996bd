#include "macho_image.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#define MH_MAGIC 0xFEEDFACEu
#define CPU_TYPE_I386 7u
#define MH_DYLIB 6u
#define LC_REQ_DYLD 0x80000000u
#define LC_SEGMENT 0x1u
#define LC_SYMTAB 0x2u
#define LC_DYSYMTAB 0xBu
#define LC_LOAD_DYLIB 0xCu
#define LC_ID_DYLIB 0xDu
#define LC_LOAD_WEAK_DYLIB 0x80000018u
#define LC_UUID 0x1Bu
#define LC_RPATH 0x8000001Cu
#define LC_CODE_SIGNATURE 0x1Du
#define LC_REEXPORT_DYLIB 0x8000001Fu
#define LC_DYLD_INFO 0x22u
#define LC_DYLD_INFO_ONLY 0x80000022u
#define LC_VERSION_MIN_MACOSX 0x24u
#define LC_FUNCTION_STARTS 0x26u
#define LC_DATA_IN_CODE 0x29u
#define LC_SOURCE_VERSION 0x2Au

/* Opcodes of the rebase stream: the high four bits of each byte; the low
 * four are the immediate operand. */
#define REBASE_OPCODE_MASK 0xF0u
#define REBASE_IMMEDIATE_MASK 0x0Fu
#define REBASE_OPCODE_DONE 0x00u
#define REBASE_OPCODE_SET_TYPE_IMM 0x10u
#define REBASE_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB 0x20u
#define REBASE_OPCODE_ADD_ADDR_ULEB 0x30u
#define REBASE_OPCODE_ADD_ADDR_IMM_SCALED 0x40u
#define REBASE_OPCODE_DO_REBASE_IMM_TIMES 0x50u
#define REBASE_OPCODE_DO_REBASE_ULEB_TIMES 0x60u
#define REBASE_OPCODE_DO_REBASE_ADD_ADDR_ULEB 0x70u
#define REBASE_OPCODE_DO_REBASE_ULEB_TIMES_SKIPPING_ULEB 0x80u

/* Opcodes of the bind, weak bind and lazy bind streams, likewise. */
#define BIND_OPCODE_MASK 0xF0u
#define BIND_IMMEDIATE_MASK 0x0Fu
#define BIND_OPCODE_DONE 0x00u
#define BIND_OPCODE_SET_DYLIB_ORDINAL_IMM 0x10u
#define BIND_OPCODE_SET_DYLIB_ORDINAL_ULEB 0x20u
#define BIND_OPCODE_SET_DYLIB_SPECIAL_IMM 0x30u
#define BIND_OPCODE_SET_SYMBOL_TRAILING_FLAGS_IMM 0x40u
#define BIND_OPCODE_SET_TYPE_IMM 0x50u
#define BIND_OPCODE_SET_ADDEND_SLEB 0x60u
#define BIND_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB 0x70u
#define BIND_OPCODE_ADD_ADDR_ULEB 0x80u
#define BIND_OPCODE_DO_BIND 0x90u
#define BIND_OPCODE_DO_BIND_ADD_ADDR_ULEB 0xA0u
#define BIND_OPCODE_DO_BIND_ADD_ADDR_IMM_SCALED 0xB0u
#define BIND_OPCODE_DO_BIND_ULEB_TIMES_SKIPPING_ULEB 0xC0u

/* Export trie flags beyond the kind and weak bits (macho_image.h). */
#define EXPORT_SYMBOL_FLAGS_REEXPORT 0x08u
#define EXPORT_SYMBOL_FLAGS_STUB_AND_RESOLVER 0x10u

void macho_fail(const struct macho_image* image, const char* format, ...) {
  va_list args;
  va_start(args, format);
  fprintf(stderr, "torvel-loader: %s: ", image && image->label ? image->label : "(dylib)");
  vfprintf(stderr, format, args);
  fputc('\n', stderr);
  va_end(args);
  fflush(stderr);
  /* Nothing of a half-loaded image may run, not even exit handlers. */
  _exit(1);
}

static uint32_t read32(const uint8_t* p) {
  return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void copy_name(char out[17], const uint8_t* field) {
  memcpy(out, field, 16);
  out[16] = 0;
}

static void read_segment(struct macho_image* image, const uint8_t* cmd, uint32_t cmdsize) {
  if (cmdsize < 56) macho_fail(image, "segment command of %u bytes is too short", cmdsize);
  if (image->segment_count == MACHO_MAX_SEGMENTS) macho_fail(image, "more than %d segments", MACHO_MAX_SEGMENTS);
  struct macho_segment* seg = &image->segments[image->segment_count++];
  copy_name(seg->name, cmd + 8);
  seg->vmaddr = read32(cmd + 24);
  seg->vmsize = read32(cmd + 28);
  seg->fileoff = read32(cmd + 32);
  seg->filesize = read32(cmd + 36);
  seg->initprot = read32(cmd + 44);
  uint32_t nsects = read32(cmd + 48);
  if ((uint64_t)seg->vmaddr + seg->vmsize > 0xFFFFFFFFu) macho_fail(image, "segment %s wraps around", seg->name);
  if (seg->filesize > seg->vmsize) macho_fail(image, "segment %s holds more file than memory", seg->name);
  if ((uint64_t)seg->fileoff + seg->filesize > image->file_size)
    macho_fail(image, "segment %s extends past the end of the file", seg->name);
  if ((uint64_t)nsects * 68 + 56 > cmdsize) macho_fail(image, "segment %s lists more sections than it holds", seg->name);
  for (uint32_t i = 0; i < nsects; ++i) {
    if (image->section_count == MACHO_MAX_SECTIONS) macho_fail(image, "more than %d sections", MACHO_MAX_SECTIONS);
    const uint8_t* h = cmd + 56 + 68 * i;
    struct macho_section* sect = &image->sections[image->section_count++];
    copy_name(sect->sectname, h);
    copy_name(sect->segname, h + 16);
    sect->addr = read32(h + 32);
    sect->size = read32(h + 36);
    sect->flags = read32(h + 56);
    if (sect->addr < seg->vmaddr || (uint64_t)sect->addr + sect->size > (uint64_t)seg->vmaddr + seg->vmsize)
      macho_fail(image, "section %s,%s lies outside its segment", sect->segname, sect->sectname);
    uint32_t type = sect->flags & MACHO_SECTION_TYPE;
    if (type == MACHO_S_THREAD_LOCAL_REGULAR || type == MACHO_S_THREAD_LOCAL_VARIABLE_POINTERS ||
        type == MACHO_S_THREAD_LOCAL_INIT_FUNCTION_POINTERS)
      macho_fail(image, "section %s,%s holds thread-local variables, which this loader does not support",
                 sect->segname, sect->sectname);
  }
}

static struct macho_stream read_stream(struct macho_image* image, const uint8_t* at, const char* what) {
  struct macho_stream s = {read32(at), read32(at + 4)};
  if (s.size != 0 && (uint64_t)s.offset + s.size > image->file_size)
    macho_fail(image, "the %s information extends past the end of the file", what);
  return s;
}

void macho_read(struct macho_image* image, const uint8_t* file, size_t file_size, const char* label) {
  memset(image, 0, sizeof *image);
  image->label = label;
  image->file = file;
  image->file_size = file_size;
  if (file_size < 28) macho_fail(image, "file of %zu bytes is too short for a Mach-O header", file_size);
  if (read32(file) != MH_MAGIC) macho_fail(image, "not a 32-bit Mach-O file (magic 0x%08x)", read32(file));
  if (read32(file + 4) != CPU_TYPE_I386) macho_fail(image, "not an i386 file (cputype %u)", read32(file + 4));
  if (read32(file + 12) != MH_DYLIB) macho_fail(image, "not a dylib (filetype %u)", read32(file + 12));
  uint32_t ncmds = read32(file + 16), sizeofcmds = read32(file + 20);
  if ((uint64_t)sizeofcmds + 28 > file_size) macho_fail(image, "load commands extend past the end of the file");

  int have_info = 0;
  uint32_t at = 28, end = 28 + sizeofcmds;
  for (uint32_t i = 0; i < ncmds; ++i) {
    if (end - at < 8) macho_fail(image, "load command %u is truncated", i);
    const uint8_t* cmd = file + at;
    uint32_t kind = read32(cmd), size = read32(cmd + 4);
    if (size < 8 || size % 4 != 0 || size > end - at) macho_fail(image, "load command %u has a bad size %u", i, size);
    switch (kind) {
      case LC_SEGMENT: read_segment(image, cmd, size); break;
      case LC_DYLD_INFO:
      case LC_DYLD_INFO_ONLY:
        if (size < 48) macho_fail(image, "dyld info command is too short");
        image->rebases = read_stream(image, cmd + 8, "rebase");
        image->binds = read_stream(image, cmd + 16, "bind");
        image->weak_binds = read_stream(image, cmd + 24, "weak bind");
        image->lazy_binds = read_stream(image, cmd + 32, "lazy bind");
        image->exports = read_stream(image, cmd + 40, "export");
        have_info = 1;
        break;
      case LC_DYSYMTAB:
        if (size < 80) macho_fail(image, "dynamic symbol table command is too short");
        /* Classic relocations are what dyld uses without compressed info;
         * this loader applies only the compressed streams. */
        if (read32(cmd + 68) != 0 || read32(cmd + 76) != 0)
          macho_fail(image, "the dylib carries classic relocations, which this loader does not apply");
        break;
      case LC_SYMTAB: case LC_LOAD_DYLIB: case LC_ID_DYLIB: case LC_LOAD_WEAK_DYLIB: case LC_UUID:
      case LC_RPATH: case LC_CODE_SIGNATURE: case LC_REEXPORT_DYLIB: case LC_VERSION_MIN_MACOSX:
      case LC_FUNCTION_STARTS: case LC_DATA_IN_CODE: case LC_SOURCE_VERSION:
        break;
      default:
        if (kind & LC_REQ_DYLD) macho_fail(image, "load command 0x%x must be understood and is not", kind);
        break; /* informational; dyld skips it too */
    }
    at += size;
  }
  if (!have_info) macho_fail(image, "no LC_DYLD_INFO_ONLY: only dylibs with compressed dyld information load here");
  if (image->segment_count == 0) macho_fail(image, "no segments");

  int header_mapped = 0;
  image->span_start = 0xFFFFFFFFu;
  for (unsigned i = 0; i < image->segment_count; ++i) {
    const struct macho_segment* a = &image->segments[i];
    if (a->fileoff == 0 && a->filesize >= 28 + sizeofcmds && a->vmaddr == 0) header_mapped = 1;
    if (a->vmaddr < image->span_start) image->span_start = a->vmaddr;
    if (a->vmaddr + a->vmsize > image->span_end) image->span_end = a->vmaddr + a->vmsize;
    for (unsigned j = 0; j < i; ++j) {
      const struct macho_segment* b = &image->segments[j];
      if (a->vmsize && b->vmsize && a->vmaddr < b->vmaddr + b->vmsize && b->vmaddr < a->vmaddr + a->vmsize)
        macho_fail(image, "segments %s and %s overlap", a->name, b->name);
    }
  }
  /* Exports are offsets from the mach_header, so the header must be mapped,
   * and ___dso_handle is its address. */
  if (!header_mapped) macho_fail(image, "no segment at vm address 0 maps the header and load commands");
}

const struct macho_section* macho_section_at(const struct macho_image* image, uint32_t vmaddr) {
  for (unsigned i = 0; i < image->section_count; ++i) {
    const struct macho_section* s = &image->sections[i];
    if (vmaddr >= s->addr && vmaddr - s->addr < s->size) return s;
  }
  return NULL;
}

const struct macho_section* macho_find_section(const struct macho_image* image, const char* segname,
                                               const char* sectname) {
  for (unsigned i = 0; i < image->section_count; ++i) {
    const struct macho_section* s = &image->sections[i];
    if (strcmp(s->segname, segname) == 0 && strcmp(s->sectname, sectname) == 0) return s;
  }
  return NULL;
}

/* ---- opcode streams ---- */

struct reader {
  const struct macho_image* image;
  const char* what;
  const uint8_t *p, *start, *end;
};

static struct reader open_stream(const struct macho_image* image, struct macho_stream s, const char* what) {
  struct reader r = {image, what, image->file + s.offset, image->file + s.offset, image->file + s.offset + s.size};
  return r;
}

static uint8_t next_byte(struct reader* r) {
  if (r->p >= r->end) macho_fail(r->image, "the %s information is truncated", r->what);
  return *r->p++;
}

static uint32_t read_uleb(struct reader* r) {
  uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    uint8_t b = next_byte(r);
    int too_wide = shift >= 32 ? (b & 0x7F) != 0 : shift == 28 && (b & 0x70) != 0;
    if (too_wide || shift > 63) macho_fail(r->image, "a number in the %s information exceeds 32 bits", r->what);
    value |= (uint64_t)(b & 0x7F) << (shift & 31);
    if (!(b & 0x80)) break;
  }
  return (uint32_t)value;
}

static int32_t read_sleb(struct reader* r) {
  int64_t value = 0;
  int shift = 0;
  uint8_t b;
  do {
    if (shift > 63) macho_fail(r->image, "a number in the %s information is too long", r->what);
    b = next_byte(r);
    value |= (int64_t)(b & 0x7F) << shift;
    shift += 7;
  } while (b & 0x80);
  if (shift < 64 && (b & 0x40)) value |= -((int64_t)1 << shift);
  if (value < INT32_MIN || value > INT32_MAX) macho_fail(r->image, "an addend in the %s information exceeds 32 bits", r->what);
  return (int32_t)value;
}

static const char* read_string(struct reader* r) {
  const char* s = (const char*)r->p;
  const uint8_t* nul = memchr(r->p, 0, (size_t)(r->end - r->p));
  if (!nul) macho_fail(r->image, "a name in the %s information is not terminated", r->what);
  r->p = nul + 1;
  return s;
}

static uint64_t segment_address(struct reader* r, unsigned segment, uint32_t offset) {
  if (segment >= r->image->segment_count)
    macho_fail(r->image, "the %s information names segment %u of %u", r->what, segment, r->image->segment_count);
  return (uint64_t)r->image->segments[segment].vmaddr + offset;
}

/* A 4-byte location must lie inside one segment's memory. */
static uint32_t checked_location(struct reader* r, uint64_t vmaddr) {
  for (unsigned i = 0; i < r->image->segment_count; ++i) {
    const struct macho_segment* s = &r->image->segments[i];
    if (vmaddr >= s->vmaddr && vmaddr + 4 <= (uint64_t)s->vmaddr + s->vmsize) return (uint32_t)vmaddr;
  }
  macho_fail(r->image, "the %s information points outside the image (vm address 0x%llx)", r->what,
             (unsigned long long)vmaddr);
}

void macho_walk_rebases(const struct macho_image* image, void (*visit)(void*, int, uint32_t), void* context) {
  struct reader r = open_stream(image, image->rebases, "rebase");
  uint64_t addr = 0;
  int type = 0;
  while (r.p < r.end) {
    uint8_t byte = next_byte(&r), imm = byte & REBASE_IMMEDIATE_MASK, opcode = byte & REBASE_OPCODE_MASK;
    uint32_t count, skip;
    switch (opcode) {
      case REBASE_OPCODE_DONE: return;
      case REBASE_OPCODE_SET_TYPE_IMM:
        if (imm != MACHO_POINTER && imm != MACHO_TEXT_ABSOLUTE32)
          macho_fail(image, "rebase type %u is not supported", imm);
        type = imm;
        break;
      case REBASE_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB: addr = segment_address(&r, imm, read_uleb(&r)); break;
      case REBASE_OPCODE_ADD_ADDR_ULEB: addr += read_uleb(&r); break;
      case REBASE_OPCODE_ADD_ADDR_IMM_SCALED: addr += imm * 4u; break;
      case REBASE_OPCODE_DO_REBASE_IMM_TIMES:
      case REBASE_OPCODE_DO_REBASE_ULEB_TIMES:
      case REBASE_OPCODE_DO_REBASE_ADD_ADDR_ULEB:
      case REBASE_OPCODE_DO_REBASE_ULEB_TIMES_SKIPPING_ULEB:
        if (type == 0) macho_fail(image, "rebase before a rebase type is set");
        switch (opcode) {
          case REBASE_OPCODE_DO_REBASE_IMM_TIMES: count = imm, skip = 0; break;
          case REBASE_OPCODE_DO_REBASE_ULEB_TIMES: count = read_uleb(&r), skip = 0; break;
          case REBASE_OPCODE_DO_REBASE_ADD_ADDR_ULEB: count = 1, skip = read_uleb(&r); break;
          default: count = read_uleb(&r), skip = read_uleb(&r); break;
        }
        for (; count > 0; --count) {
          visit(context, type, checked_location(&r, addr));
          addr += (uint64_t)skip + 4;
        }
        break;
      default: macho_fail(image, "unknown rebase opcode 0x%02x", byte);
    }
  }
}

static const char* const bind_stream_names[] = {"bind", "lazy bind", "weak bind"};

/* Walks one bind stream from `start` bytes into it: to its end, or, when
 * one_entry is set, to the DONE that ends the lazy entry starting there. */
static void walk_binds(const struct macho_image* image, enum macho_bind_stream stream, uint32_t start, int one_entry,
                       void (*visit)(void*, const struct macho_bind*), void* context) {
  const char* what = bind_stream_names[stream];
  struct macho_stream which = stream == MACHO_BINDS ? image->binds
                              : stream == MACHO_LAZY_BINDS ? image->lazy_binds
                                                           : image->weak_binds;
  struct reader r = open_stream(image, which, what);
  if (one_entry && start >= which.size) macho_fail(image, "no %s entry starts at offset 0x%x", what, start);
  r.p += start;
  struct macho_bind bind = {stream, NULL, 0, stream == MACHO_LAZY_BINDS ? MACHO_POINTER : 0, 0, 0};
  uint64_t addr = 0;
  while (r.p < r.end) {
    uint8_t byte = next_byte(&r), imm = byte & BIND_IMMEDIATE_MASK, opcode = byte & BIND_OPCODE_MASK;
    uint32_t count, skip;
    switch (opcode) {
      case BIND_OPCODE_DONE: /* ends the stream, or in the lazy stream one entry */
        if (stream != MACHO_LAZY_BINDS || one_entry) return;
        bind.name = NULL, bind.addend = 0, bind.flags = 0;
        break;
      case BIND_OPCODE_SET_DYLIB_ORDINAL_IMM: break; /* every name is looked up globally */
      case BIND_OPCODE_SET_DYLIB_ORDINAL_ULEB: read_uleb(&r); break;
      case BIND_OPCODE_SET_DYLIB_SPECIAL_IMM: break;
      case BIND_OPCODE_SET_SYMBOL_TRAILING_FLAGS_IMM:
        bind.flags = imm;
        bind.name = read_string(&r);
        break;
      case BIND_OPCODE_SET_TYPE_IMM:
        if (imm < MACHO_POINTER || imm > MACHO_TEXT_PCREL32) macho_fail(image, "bind type %u is not supported", imm);
        bind.type = imm;
        break;
      case BIND_OPCODE_SET_ADDEND_SLEB: bind.addend = read_sleb(&r); break;
      case BIND_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB: addr = segment_address(&r, imm, read_uleb(&r)); break;
      case BIND_OPCODE_ADD_ADDR_ULEB: addr += read_uleb(&r); break;
      case BIND_OPCODE_DO_BIND:
      case BIND_OPCODE_DO_BIND_ADD_ADDR_ULEB:
      case BIND_OPCODE_DO_BIND_ADD_ADDR_IMM_SCALED:
      case BIND_OPCODE_DO_BIND_ULEB_TIMES_SKIPPING_ULEB:
        if (bind.name == NULL) macho_fail(image, "%s before a symbol name is set", what);
        if (bind.type == 0) macho_fail(image, "%s of %s before a bind type is set", what, bind.name);
        switch (opcode) {
          case BIND_OPCODE_DO_BIND: count = 1, skip = 0; break;
          case BIND_OPCODE_DO_BIND_ADD_ADDR_ULEB: count = 1, skip = read_uleb(&r); break;
          case BIND_OPCODE_DO_BIND_ADD_ADDR_IMM_SCALED: count = 1, skip = imm * 4u; break;
          default: count = read_uleb(&r), skip = read_uleb(&r); break;
        }
        for (; count > 0; --count) {
          bind.vmaddr = checked_location(&r, addr);
          visit(context, &bind);
          addr += (uint64_t)skip + 4;
        }
        break;
      default: macho_fail(image, "unknown %s opcode 0x%02x", what, byte);
    }
  }
  if (one_entry) macho_fail(image, "the %s entry at offset 0x%x has no end", what, start);
}

void macho_walk_binds(const struct macho_image* image, enum macho_bind_stream stream,
                      void (*visit)(void*, const struct macho_bind*), void* context) {
  walk_binds(image, stream, 0, 0, visit, context);
}

void macho_walk_lazy_bind_at(const struct macho_image* image, uint32_t offset,
                             void (*visit)(void*, const struct macho_bind*), void* context) {
  walk_binds(image, MACHO_LAZY_BINDS, offset, 1, visit, context);
}

/* ---- export trie ---- */

struct trie_walk {
  const struct macho_image* image;
  void (*visit)(void*, const char*, uint32_t, uint32_t);
  void* context;
  char name[4096];
  unsigned nodes_left; /* a trie visits no node twice; more visits mean a loop */
};

static void walk_node(struct trie_walk* w, uint32_t node, size_t name_length, unsigned depth) {
  const struct macho_image* image = w->image;
  if (node >= image->exports.size) macho_fail(image, "an export trie edge points outside the trie");
  if (w->nodes_left-- == 0 || depth > 1024) macho_fail(image, "the export trie has a loop");
  struct reader r = open_stream(image, image->exports, "export");
  r.p += node;
  uint32_t terminal = read_uleb(&r);
  const uint8_t* children = r.p + terminal;
  if (terminal > (size_t)(r.end - r.p)) macho_fail(image, "an export trie node is truncated");
  if (terminal != 0) {
    struct reader t = r;
    t.end = children;
    uint32_t flags = read_uleb(&t), offset = 0;
    if (flags & EXPORT_SYMBOL_FLAGS_REEXPORT) { /* an ordinal and the name in the other library */
      read_uleb(&t);
      read_string(&t);
    } else if (flags & EXPORT_SYMBOL_FLAGS_STUB_AND_RESOLVER) {
      read_uleb(&t);
      read_uleb(&t);
    } else {
      offset = read_uleb(&t);
    }
    w->name[name_length] = 0;
    w->visit(w->context, w->name, flags, offset);
  }
  r.p = children;
  unsigned count = next_byte(&r);
  for (unsigned i = 0; i < count; ++i) {
    const char* label = read_string(&r);
    size_t length = strlen(label);
    uint32_t child = read_uleb(&r);
    if (length == 0) macho_fail(image, "an export trie edge has an empty label");
    if (name_length + length >= sizeof w->name) macho_fail(image, "an exported name is longer than %zu bytes", sizeof w->name);
    memcpy(w->name + name_length, label, length);
    walk_node(w, child, name_length + length, depth + 1);
  }
}

void macho_walk_exports(const struct macho_image* image, void (*visit)(void*, const char*, uint32_t, uint32_t),
                        void* context) {
  if (image->exports.size == 0) return;
  static struct trie_walk walk; /* the name buffer is large; one walk at a time */
  walk.image = image;
  walk.visit = visit;
  walk.context = context;
  walk.nodes_left = image->exports.size;
  walk_node(&walk, 0, 0, 0);
}
