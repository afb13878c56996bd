#include "dylib_dump.h"

#include <functional>
#include <set>
#include <sstream>

#include "byte_io.h"
#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

namespace {

struct DumpSection {
  std::string seg, sect;
  uint32_t addr, size;
};
struct DumpSegment {
  std::string name;
  uint32_t vmaddr, vmsize;
};

class Dumper {
 public:
  Dumper(const std::vector<uint8_t>& bytes, const std::string& path) : b_(bytes), path_(path) {}

  std::string run() {
    if (b_.size() < fileSize<MachO::mach_header>()) bad("not a 32-bit Mach-O dylib");
    const auto header = record<MachO::mach_header>(0);
    if (header.magic != MachO::MH_MAGIC || header.filetype != MachO::MH_DYLIB) bad("not a 32-bit Mach-O dylib");
    uint32_t at = fileSize<MachO::mach_header>();
    MachO::dyld_info_command dyld{};
    bool haveDyld = false;
    out_ << "flags " << hex(header.flags) << "\n";
    for (uint32_t i = 0; i < header.ncmds; ++i) {
      const auto lc = record<MachO::load_command>(at);
      const uint32_t cmd = lc.cmd, size = lc.cmdsize;
      if (size < 8 || uint64_t(at) + size > b_.size()) bad("load command " + std::to_string(i) + " out of bounds");
      if (cmd == MachO::LC_SEGMENT) {
        if (size < fileSize<MachO::segment_command>()) bad("section headers out of bounds");
        const auto sc = record<MachO::segment_command>(at);
        DumpSegment seg{name16(sc.segname), sc.vmaddr, sc.vmsize};
        segments_.push_back(seg);
        out_ << "segment " << seg.name << " vmaddr " << hex(seg.vmaddr) << " vmsize " << hex(seg.vmsize)
             << " fileoff " << hex(sc.fileoff) << " filesize " << hex(sc.filesize) << "\n";
        if (uint64_t(sc.nsects) * fileSize<MachO::section>() + fileSize<MachO::segment_command>() > size)
          bad("section headers out of bounds");
        for (uint32_t s = 0; s < sc.nsects; ++s) {
          const auto h = record<MachO::section>(at + fileSize<MachO::segment_command>() + s * fileSize<MachO::section>());
          DumpSection sec{name16(h.segname), name16(h.sectname), h.addr, h.size};
          sections_.push_back(sec);
          out_ << "section " << sec.seg << "," << sec.sect << " addr " << hex(sec.addr) << " size " << hex(sec.size)
               << " flags " << hex(h.flags) << "\n";
        }
      } else if (cmd == MachO::LC_DYLD_INFO_ONLY || cmd == MachO::LC_DYLD_INFO) {
        if (size < fileSize<MachO::dyld_info_command>()) bad("LC_DYLD_INFO too small");
        dyld = record<MachO::dyld_info_command>(at);
        haveDyld = true;
      }
      at += size;
    }
    if (!haveDyld) bad("no LC_DYLD_INFO_ONLY");
    rebases(dyld.rebase_off, dyld.rebase_size);
    binds("bind", dyld.bind_off, dyld.bind_size, false);
    binds("weak-bind", dyld.weak_bind_off, dyld.weak_bind_size, false);
    binds("lazy-bind", dyld.lazy_bind_off, dyld.lazy_bind_size, true);
    exports(dyld.export_off, dyld.export_size);
    return out_.str();
  }

 private:
  [[noreturn]] void bad(const std::string& why) const { fail(path_ + ": " + why); }
  template <class T>
  T record(uint64_t at) const {
    if (at + fileSize<T>() > b_.size()) bad("read past the end of the file");
    return loadStruct<T>(b_.data() + at);
  }
  std::string where(uint64_t addr) const {
    for (const DumpSection& s : sections_)
      if (addr >= s.addr && addr - s.addr + 4 <= s.size) return s.seg + "," + s.sect + " " + hex(uint32_t(addr));
    bad("address " + hex(uint32_t(addr)) + " lies outside every section");
  }
  uint64_t segmentStart(uint32_t index) const {
    if (index >= segments_.size()) bad("segment index " + std::to_string(index) + " out of range");
    return segments_[index].vmaddr;
  }

  struct Stream {
    const std::vector<uint8_t>& b;
    uint32_t pos, end;
    const Dumper& d;
    bool more() const { return pos < end; }
    uint8_t byte() {
      if (pos >= end) d.bad("opcode stream ends in the middle of an opcode");
      return b[pos++];
    }
    uint64_t uleb() {
      uint64_t v = 0;
      for (int shift = 0;; shift += 7) {
        uint8_t x = byte();
        if (shift < 64) v |= uint64_t(x & 0x7F) << shift;
        if (!(x & 0x80)) return v;
        if (shift > 63) d.bad("overlong LEB128 number");
      }
    }
    int64_t sleb() {
      int64_t v = 0;
      int shift = 0;
      uint8_t x;
      do {
        x = byte();
        if (shift < 64) v |= int64_t(x & 0x7F) << shift;
        shift += 7;
      } while (x & 0x80);
      if (shift < 64 && (x & 0x40)) v |= -(int64_t(1) << shift);
      return v;
    }
    std::string cstr() {
      std::string s;
      for (uint8_t c; (c = byte()) != 0;) s += char(c);
      return s;
    }
  };

  Stream stream(uint32_t off, uint32_t size) const {
    if (uint64_t(off) + size > b_.size()) bad("dyld information out of bounds");
    return Stream{b_, off, off + size, *this};
  }

  void rebases(uint32_t off, uint32_t size) {
    Stream s = stream(off, size);
    uint64_t addr = 0;
    int type = 0;
    auto emit = [&] {
      out_ << "rebase " << where(addr) << (type == MachO::REBASE_TYPE_TEXT_ABSOLUTE32 ? " text-abs32" : " pointer")
           << "\n";
    };
    while (s.more()) {
      uint8_t op = s.byte(), imm = op & 0x0F;
      switch (op & 0xF0) {
        case MachO::REBASE_OPCODE_DONE: return;
        case MachO::REBASE_OPCODE_SET_TYPE_IMM: type = imm; break;
        case MachO::REBASE_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB: addr = segmentStart(imm) + s.uleb(); break;
        case MachO::REBASE_OPCODE_ADD_ADDR_ULEB: addr += s.uleb(); break;
        case MachO::REBASE_OPCODE_ADD_ADDR_IMM_SCALED: addr += imm * 4; break;
        case MachO::REBASE_OPCODE_DO_REBASE_IMM_TIMES:
          for (int i = 0; i < imm; ++i) emit(), addr += 4;
          break;
        case MachO::REBASE_OPCODE_DO_REBASE_ULEB_TIMES: {
          uint64_t n = s.uleb();
          if (n > b_.size()) bad("rebase count too large");
          for (uint64_t i = 0; i < n; ++i) emit(), addr += 4;
          break;
        }
        case MachO::REBASE_OPCODE_DO_REBASE_ADD_ADDR_ULEB: emit(); addr += s.uleb() + 4; break;
        case MachO::REBASE_OPCODE_DO_REBASE_ULEB_TIMES_SKIPPING_ULEB: {
          uint64_t n = s.uleb(), skip = s.uleb();
          if (n > b_.size()) bad("rebase count too large");
          for (uint64_t i = 0; i < n; ++i) emit(), addr += skip + 4;
          break;
        }
        default: bad("unknown rebase opcode " + hex(op));
      }
    }
  }

  void binds(const char* kind, uint32_t off, uint32_t size, bool lazy) {
    Stream s = stream(off, size);
    uint64_t addr = 0;
    int64_t addend = 0, ordinal = 0;
    int type = lazy ? MachO::BIND_TYPE_POINTER : 0;
    uint8_t flags = 0;
    std::string name;
    auto emit = [&] {
      out_ << kind << " " << where(addr) << " " << (type == MachO::BIND_TYPE_POINTER ? "pointer" : "text-abs32");
      if (addend) out_ << " addend " << addend;
      if (std::string(kind) != "weak-bind") out_ << " ordinal " << ordinal;
      if (flags & MachO::BIND_SYMBOL_FLAGS_WEAK_IMPORT) out_ << " weak-import";
      out_ << " " << name << "\n";
    };
    while (s.more()) {
      uint8_t op = s.byte(), imm = op & 0x0F;
      switch (op & 0xF0) {
        case MachO::BIND_OPCODE_DONE:
          if (!lazy) return;
          break;
        case MachO::BIND_OPCODE_SET_DYLIB_ORDINAL_IMM: ordinal = imm; break;
        case MachO::BIND_OPCODE_SET_DYLIB_ORDINAL_ULEB: ordinal = int64_t(s.uleb()); break;
        case MachO::BIND_OPCODE_SET_DYLIB_SPECIAL_IMM: ordinal = imm ? int8_t(0xF0 | imm) : 0; break;
        case MachO::BIND_OPCODE_SET_SYMBOL_TRAILING_FLAGS_IMM: flags = imm; name = s.cstr(); break;
        case MachO::BIND_OPCODE_SET_TYPE_IMM: type = imm; break;
        case MachO::BIND_OPCODE_SET_ADDEND_SLEB: addend = s.sleb(); break;
        case MachO::BIND_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB: addr = segmentStart(imm) + s.uleb(); break;
        case MachO::BIND_OPCODE_ADD_ADDR_ULEB: addr += s.uleb(); break;
        case MachO::BIND_OPCODE_DO_BIND: emit(); addr += 4; break;
        case MachO::BIND_OPCODE_DO_BIND_ADD_ADDR_ULEB: emit(); addr += s.uleb() + 4; break;
        case MachO::BIND_OPCODE_DO_BIND_ADD_ADDR_IMM_SCALED: emit(); addr += imm * 4 + 4; break;
        case MachO::BIND_OPCODE_DO_BIND_ULEB_TIMES_SKIPPING_ULEB: {
          uint64_t n = s.uleb(), skip = s.uleb();
          if (n > b_.size()) bad("bind count too large");
          for (uint64_t i = 0; i < n; ++i) emit(), addr += skip + 4;
          break;
        }
        default: bad(std::string("unknown ") + kind + " opcode " + hex(op));
      }
    }
  }

  void exports(uint32_t off, uint32_t size) {
    if (size == 0) return;
    stream(off, size);  // bounds
    std::set<uint32_t> visiting;
    std::function<void(uint32_t, const std::string&)> walk = [&](uint32_t node, const std::string& prefix) {
      if (node >= size || !visiting.insert(node).second) bad("export trie node offset " + hex(node) + " is invalid");
      Stream s{b_, off + node, off + size, *this};
      uint64_t terminal = s.uleb();
      uint32_t children = s.pos + uint32_t(terminal);
      if (terminal) {
        uint64_t flags = s.uleb();
        uint64_t addr = s.uleb();
        out_ << "export " << hex(uint32_t(addr)) << " " << prefix;
        if (flags & MachO::EXPORT_SYMBOL_FLAGS_WEAK_DEFINITION) out_ << " [weak]";
        if ((flags & MachO::EXPORT_SYMBOL_FLAGS_KIND_MASK) == MachO::EXPORT_SYMBOL_FLAGS_KIND_ABSOLUTE) out_ << " [absolute]";
        out_ << "\n";
      }
      s.pos = children;
      uint8_t count = s.byte();
      for (int i = 0; i < count; ++i) {
        std::string label = s.cstr();
        uint64_t child = s.uleb();
        if (child > size) bad("export trie child offset out of range");
        walk(uint32_t(child), prefix + label);
      }
      visiting.erase(node);
    };
    walk(0, "");
  }

  const std::vector<uint8_t>& b_;
  const std::string& path_;
  std::ostringstream out_;
  std::vector<DumpSegment> segments_;
  std::vector<DumpSection> sections_;
};

}  // namespace

std::string dumpDylib(const std::vector<uint8_t>& bytes, const std::string& path) { return Dumper(bytes, path).run(); }

}  // namespace torvel::ld
