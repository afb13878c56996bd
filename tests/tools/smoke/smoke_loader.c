/* A minimal stand-in for dyld, for testing torvel-ld's output at run time:
   a 32-bit Linux program (run under qemu-i386) that maps one i386 dylib,
   applies its rebases, binds its non-lazy imports to a small table of its own
   functions and data, leaves the lazy pointers to a real dyld_stub_binder
   that resolves them on first call, runs the module initialisers, finds
   "_smoke_main" in the export trie, calls it and prints the result.
   Usage: smoke_loader DYLIB */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>

static uint8_t *image;   /* where __TEXT (vmaddr 0) is mapped */
static uint8_t *file;
static long file_size;
static uint32_t seg_vmaddr[8];
static int nsegs;
static uint32_t dyld_info[10];
static int lazy_binds;

static void die(const char *what) {
  fprintf(stderr, "smoke_loader: %s\n", what);
  exit(2);
}

static uint32_t rd32(const uint8_t *p) { return p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24; }
/* Rebased words in code (a stub's operand) need not be 4-byte aligned. */
static void slide_word(uint8_t *p, uint32_t slide) {
  uint32_t v;
  memcpy(&v, p, sizeof v);
  v += slide;
  memcpy(p, &v, sizeof v);
}

static uint32_t uleb(const uint8_t **p) {
  uint32_t v = 0;
  int shift = 0;
  uint8_t b;
  do {
    b = *(*p)++;
    v |= (uint32_t)(b & 0x7F) << shift;
    shift += 7;
  } while (b & 0x80);
  return v;
}

static int32_t sleb(const uint8_t **p) {
  int32_t v = 0;
  int shift = 0;
  uint8_t b;
  do {
    b = *(*p)++;
    v |= (int32_t)(b & 0x7F) << shift;
    shift += 7;
  } while (b & 0x80);
  if (shift < 32 && (b & 0x40)) v |= -(1 << shift);
  return v;
}

/* ---- what the "host" supplies ---- */
static int host_add(int a, int b) { return a + b; }
static void host_log(const char *text) { printf("log: %s\n", text); }
static int host_values[4] = {100, 200, 300, 400};
void smoke_stub_binder(void);

static void *host_lookup(const char *name) {
  if (!strcmp(name, "_host_add")) return (void *)host_add;
  if (!strcmp(name, "_host_log")) return (void *)host_log;
  if (!strcmp(name, "_host_values")) return host_values;
  if (!strcmp(name, "dyld_stub_binder")) return (void *)smoke_stub_binder;
  fprintf(stderr, "smoke_loader: unknown import %s\n", name);
  exit(2);
}

/* dyld_stub_binder's contract: [esp] = image-cache slot address,
   [esp+4] = lazy-bind offset, [esp+8] = the caller's return address. */
__asm__(
    ".text\n"
    ".globl smoke_stub_binder\n"
    "smoke_stub_binder:\n"
    "  pushl %eax\n"
    "  pushl %ecx\n"
    "  pushl %edx\n"
    "  pushl 16(%esp)\n" /* lazy-bind offset */
    "  pushl 16(%esp)\n" /* image-cache slot */
    "  call resolve_lazy\n"
    "  addl $8, %esp\n"
    "  movl %eax, 16(%esp)\n" /* the target replaces the offset */
    "  popl %edx\n"
    "  popl %ecx\n"
    "  popl %eax\n"
    "  addl $4, %esp\n"
    "  ret\n");

__attribute__((used)) void *resolve_lazy(void *cache, uint32_t offset) {
  (void)cache;
  const uint8_t *p = file + dyld_info[6] + offset;
  uint32_t addr = 0;
  const char *name = NULL;
  for (;;) {
    uint8_t op = *p++, imm = op & 0x0F;
    switch (op & 0xF0) {
      case 0x70: addr = seg_vmaddr[imm] + uleb(&p); break;
      case 0x10: break;
      case 0x40: name = (const char *)p; p += strlen(name) + 1; break;
      case 0x90: {
        void *target = host_lookup(name);
        *(uint32_t *)(image + addr) = (uint32_t)target;
        ++lazy_binds;
        return target;
      }
      default: die("unexpected lazy-bind opcode");
    }
  }
}

static void rebase_all(void) {
  const uint8_t *p = file + dyld_info[0], *end = p + dyld_info[1];
  uint32_t addr = 0, slide = (uint32_t)image;
  while (p < end) {
    uint8_t op = *p++, imm = op & 0x0F;
    uint32_t n, skip;
    switch (op & 0xF0) {
      case 0x00: return;
      case 0x10: break;
      case 0x20: addr = seg_vmaddr[imm] + uleb(&p); break;
      case 0x30: addr += uleb(&p); break;
      case 0x40: addr += imm * 4; break;
      case 0x50: for (n = 0; n < imm; ++n, addr += 4) slide_word(image + addr, slide); break;
      case 0x60: for (n = uleb(&p); n > 0; --n, addr += 4) slide_word(image + addr, slide); break;
      case 0x70: slide_word(image + addr, slide); addr += uleb(&p) + 4; break;
      case 0x80:
        n = uleb(&p);
        skip = uleb(&p);
        for (; n > 0; --n, addr += skip + 4) slide_word(image + addr, slide);
        break;
      default: die("unexpected rebase opcode");
    }
  }
}

static void bind_all(void) {
  const uint8_t *p = file + dyld_info[2], *end = p + dyld_info[3];
  uint32_t addr = 0;
  int32_t addend = 0;
  const char *name = NULL;
  while (p < end) {
    uint8_t op = *p++, imm = op & 0x0F;
    switch (op & 0xF0) {
      case 0x00: return;
      case 0x10: case 0x30: case 0x50: break;
      case 0x20: uleb(&p); break;
      case 0x40: name = (const char *)p; p += strlen(name) + 1; break;
      case 0x60: addend = sleb(&p); break;
      case 0x70: addr = seg_vmaddr[imm] + uleb(&p); break;
      case 0x80: addr += uleb(&p); break;
      case 0x90: *(uint32_t *)(image + addr) = (uint32_t)host_lookup(name) + addend; addr += 4; break;
      default: die("unexpected bind opcode");
    }
  }
}

/* Export trie lookup: the offset of `name` from the mach_header, or -1. */
static long find_export(const char *name) {
  const uint8_t *trie = file + dyld_info[8];
  const uint8_t *node = trie;
  for (;;) {
    const uint8_t *p = node;
    uint32_t terminal = uleb(&p);
    if (*name == 0) {
      if (!terminal) return -1;
      uleb(&p); /* flags */
      return (long)uleb(&p);
    }
    p += terminal;
    uint8_t children = *p++;
    const uint8_t *next = NULL;
    for (int i = 0; i < children && !next; ++i) {
      const char *label = (const char *)p;
      size_t len = strlen(label);
      p += len + 1;
      uint32_t child = uleb(&p);
      if (!strncmp(name, label, len)) {
        name += len;
        next = trie + child;
      }
    }
    if (!next) return -1;
    node = next;
  }
}

int main(int argc, char **argv) {
  if (argc != 2) die("usage: smoke_loader DYLIB");
  FILE *f = fopen(argv[1], "rb");
  if (!f) die("cannot open the dylib");
  fseek(f, 0, SEEK_END);
  file_size = ftell(f);
  fseek(f, 0, SEEK_SET);
  file = malloc(file_size);
  if (fread(file, 1, file_size, f) != (size_t)file_size) die("short read");
  fclose(f);
  if (rd32(file) != 0xFEEDFACE || rd32(file + 12) != 6) die("not an i386 dylib");

  uint32_t ncmds = rd32(file + 16), at = 28, span = 0;
  for (uint32_t i = 0; i < ncmds; ++i) {
    uint32_t cmd = rd32(file + at), size = rd32(file + at + 4);
    if (cmd == 0x1 && nsegs < 8) {
      seg_vmaddr[nsegs++] = rd32(file + at + 24);
      uint32_t end = rd32(file + at + 24) + rd32(file + at + 28);
      if (end > span) span = end;
    }
    if (cmd == 0x80000022) memcpy(dyld_info, file + at + 8, sizeof dyld_info);
    at += size;
  }
  image = mmap(NULL, span, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (image == MAP_FAILED) die("mmap failed");
  uint32_t init_addr = 0, init_size = 0;
  at = 28;
  for (uint32_t i = 0; i < ncmds; ++i) {
    uint32_t cmd = rd32(file + at), size = rd32(file + at + 4);
    if (cmd == 0x1) {
      memcpy(image + rd32(file + at + 24), file + rd32(file + at + 32), rd32(file + at + 36));
      uint32_t nsects = rd32(file + at + 48);
      for (uint32_t s = 0; s < nsects; ++s) {
        const uint8_t *h = file + at + 56 + 68 * s;
        if ((rd32(h + 56) & 0xFF) == 0x9) init_addr = rd32(h + 32), init_size = rd32(h + 36);
      }
    }
    at += size;
  }
  rebase_all();
  bind_all();
  for (uint32_t i = 0; i < init_size / 4; ++i) ((void (*)(void))(*(uint32_t *)(image + init_addr + 4 * i)))();

  long entry = find_export("_smoke_main");
  if (entry < 0) die("_smoke_main is not exported");
  int result = ((int (*)(void))(image + entry))();
  printf("result: %d\nlazy binds: %d\n", result, lazy_binds);
  return 0;
}
