#include "dyld_info.h"

#include <algorithm>
#include <tuple>

#include "diagnostics.h"
#include "macho.h"

namespace torvel::ld {

namespace {

struct SegmentOffset {
  uint32_t segment;
  uint32_t offset;
};

SegmentOffset locate(const Image& image, uint32_t address) {
  for (size_t i = 0; i < image.segments.size(); ++i) {
    const Segment& s = image.segments[i];
    if (address >= s.vmaddr && address - s.vmaddr < s.vmsize) return {uint32_t(i), address - s.vmaddr};
  }
  fail("internal error: address " + hex(address) + " lies in no segment");
}

// Tracks the address the opcode stream's cursor points at and moves it to the
// next record with the shortest opcode.
class Cursor {
 public:
  Cursor(ByteWriter& out, uint8_t setSegmentOp, uint8_t addAddrOp) : out_(out), setOp_(setSegmentOp), addOp_(addAddrOp) {}

  void moveTo(SegmentOffset where) {
    if (valid_ && where.segment == segment_ && where.offset == offset_) return;
    if (valid_ && where.segment == segment_ && where.offset > offset_) {
      out_.u8(addOp_);
      out_.uleb(where.offset - offset_);
    } else {
      out_.u8(uint8_t(setOp_ | where.segment));
      out_.uleb(where.offset);
    }
    valid_ = true;
    segment_ = where.segment;
    offset_ = where.offset;
  }
  void advance(uint32_t bytes) { offset_ += bytes; }

 private:
  ByteWriter& out_;
  uint8_t setOp_, addOp_;
  bool valid_ = false;
  uint32_t segment_ = 0, offset_ = 0;
};

std::vector<uint8_t> finish(ByteWriter& out, uint8_t doneOp) {
  out.u8(doneOp);
  out.padTo(4);
  return std::move(out.bytes());
}

}  // namespace

std::vector<uint8_t> encodeRebases(const Image& image) {
  std::vector<RebaseRecord> records = image.rebases;
  std::sort(records.begin(), records.end(),
            [](const RebaseRecord& a, const RebaseRecord& b) { return a.address < b.address; });
  records.erase(std::unique(records.begin(), records.end(),
                            [](const RebaseRecord& a, const RebaseRecord& b) { return a.address == b.address; }),
                records.end());
  ByteWriter out;
  if (records.empty()) return {};
  Cursor cursor(out, MachO::REBASE_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB, MachO::REBASE_OPCODE_ADD_ADDR_ULEB);
  int type = -1;
  for (size_t i = 0; i < records.size();) {
    if (records[i].type != type) {
      type = records[i].type;
      out.u8(uint8_t(MachO::REBASE_OPCODE_SET_TYPE_IMM | type));
    }
    SegmentOffset where = locate(image, records[i].address);
    cursor.moveTo(where);
    // A run of adjacent pointers of the same type is one opcode.
    size_t run = 1;
    while (i + run < records.size() && records[i + run].type == type &&
           records[i + run].address == records[i].address + run * kPointerSize &&
           locate(image, records[i + run].address).segment == where.segment)
      ++run;
    if (run < 16) {
      out.u8(uint8_t(MachO::REBASE_OPCODE_DO_REBASE_IMM_TIMES | run));
    } else {
      out.u8(MachO::REBASE_OPCODE_DO_REBASE_ULEB_TIMES);
      out.uleb(run);
    }
    cursor.advance(uint32_t(run) * kPointerSize);
    i += run;
  }
  return finish(out, MachO::REBASE_OPCODE_DONE);
}

namespace {

std::vector<uint8_t> encodeBindStream(const Image& image, std::vector<BindRecord> records, bool withOrdinals) {
  if (records.empty()) return {};
  std::sort(records.begin(), records.end(), [&](const BindRecord& a, const BindRecord& b) {
    return std::tie(image.globals[a.global].name, a.address) < std::tie(image.globals[b.global].name, b.address);
  });
  ByteWriter out;
  Cursor cursor(out, MachO::BIND_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB, MachO::BIND_OPCODE_ADD_ADDR_ULEB);
  if (withOrdinals) out.u8(uint8_t(MachO::BIND_OPCODE_SET_DYLIB_ORDINAL_IMM | 1));  // libSystem, the only dependency
  int global = -1, type = -1;
  int64_t addend = 0;
  for (const BindRecord& r : records) {
    if (r.global != global) {
      global = r.global;
      const GlobalSymbol& g = image.globals[global];
      uint8_t flags = (withOrdinals && g.weakImport) ? MachO::BIND_SYMBOL_FLAGS_WEAK_IMPORT : 0;
      out.u8(uint8_t(MachO::BIND_OPCODE_SET_SYMBOL_TRAILING_FLAGS_IMM | flags));
      out.cstr(g.name);
    }
    if (r.type != type) {
      type = r.type;
      out.u8(uint8_t(MachO::BIND_OPCODE_SET_TYPE_IMM | type));
    }
    if (r.addend != addend) {
      addend = r.addend;
      out.u8(MachO::BIND_OPCODE_SET_ADDEND_SLEB);
      out.sleb(addend);
    }
    cursor.moveTo(locate(image, r.address));
    out.u8(MachO::BIND_OPCODE_DO_BIND);
    cursor.advance(kPointerSize);
  }
  return finish(out, MachO::BIND_OPCODE_DONE);
}

}  // namespace

std::vector<uint8_t> encodeBinds(const Image& image) { return encodeBindStream(image, image.binds, true); }

std::vector<uint8_t> encodeWeakBinds(const Image& image) { return encodeBindStream(image, image.weakBinds, false); }

void appendLazyBind(ByteWriter& out, uint32_t segment, uint32_t offset, const std::string& name, bool weakImport) {
  out.u8(uint8_t(MachO::BIND_OPCODE_SET_SEGMENT_AND_OFFSET_ULEB | segment));
  out.uleb(offset);
  out.u8(uint8_t(MachO::BIND_OPCODE_SET_DYLIB_ORDINAL_IMM | 1));
  out.u8(uint8_t(MachO::BIND_OPCODE_SET_SYMBOL_TRAILING_FLAGS_IMM |
                 (weakImport ? MachO::BIND_SYMBOL_FLAGS_WEAK_IMPORT : 0)));
  out.cstr(name);
  out.u8(MachO::BIND_OPCODE_DO_BIND);
  out.u8(MachO::BIND_OPCODE_DONE);
}

}  // namespace torvel::ld
