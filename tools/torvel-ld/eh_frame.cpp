#include "eh_frame.h"

#include <map>
#include <set>

#include "address_map.h"
#include "byte_io.h"
#include "diagnostics.h"
#include "fixup_records.h"

namespace torvel::ld {

namespace {

constexpr uint8_t kOmit = 0xFF;
constexpr uint8_t kIndirect = 0x80;
constexpr uint8_t kAbsPtr = 0x00, kUData2 = 0x02, kUData4 = 0x03, kSData2 = 0x0A, kSData4 = 0x0B;
constexpr uint8_t kPcRel = 0x10;

struct CieInfo {
  bool hasAugmentationData = false;
  uint8_t fdeEncoding = kAbsPtr;
  uint8_t lsdaEncoding = kOmit;
};

class EhFrameWalker {
 public:
  EhFrameWalker(Image& image, int obj, int sect)
      : image_(image),
        o_(obj),
        obj_(image.objects[obj]),
        in_(obj_.sections[sect]),
        data_(in_.data),
        base_(inputSectionAddress(image, obj, sect)) {
    for (const Relocation& r : in_.relocs) relocated_.insert(r.address);
  }

  void run() {
    uint32_t pos = 0;
    while (pos < data_.size()) {
      uint32_t length = u32(pos);
      if (length == 0) {
        // A terminator ends the section; records after one would be left
        // without their fix-ups, so they are refused rather than skipped.
        for (uint32_t at = pos + 4; at < data_.size(); ++at)
          if (data_[at] != 0) bad(pos, "records follow a zero terminator");
        break;
      }
      if (length == 0xFFFFFFFF) bad(pos, "64-bit DWARF records are not supported");
      uint64_t end = uint64_t(pos) + 4 + length;
      if (end > data_.size() || length < 4) bad(pos, "record runs past the end of the section");
      end_ = uint32_t(end);
      uint32_t id = u32(pos + 4);
      if (id == 0)
        readCie(pos);
      else
        fixFde(pos, id);
      pos = uint32_t(end);
    }
  }

 private:
  [[noreturn]] void bad(uint32_t pos, const std::string& why) const {
    fail(obj_.path + ": __eh_frame record at offset " + hex(pos) + ": " + why);
  }
  uint32_t u32(uint32_t at) const {
    if (uint64_t(at) + 4 > data_.size()) bad(at, "truncated");
    return read32(data_.data() + at);
  }
  uint8_t u8(uint32_t& at) const {
    if (at >= end_) bad(at, "truncated");
    return data_[at++];
  }
  uint64_t uleb(uint32_t& at) const {
    uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
      uint8_t b = u8(at);
      if (shift < 64) v |= uint64_t(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
      if (shift > 63) bad(at, "overlong LEB128 number");
    }
  }

  uint32_t encodedSize(uint32_t at, uint8_t enc) const {
    switch (enc & 0x0F) {
      case kAbsPtr:
      case kUData4:
      case kSData4:
        return 4;
      case kUData2:
      case kSData2:
        return 2;
      default:
        bad(at, "pointer encoding " + hex(enc) + " is not supported");
    }
  }

  void readCie(uint32_t pos) {
    uint32_t at = pos + 8;
    uint8_t version = u8(at);
    std::string aug;
    for (uint8_t c; (c = u8(at)) != 0;) aug += char(c);
    CieInfo cie;
    uleb(at);  // code alignment
    uleb(at);  // data alignment (signed; only skipped)
    if (version == 1)
      u8(at);
    else
      uleb(at);  // return address register
    if (!aug.empty() && aug[0] == 'z') {
      cie.hasAugmentationData = true;
      uleb(at);
      for (size_t i = 1; i < aug.size(); ++i) {
        switch (aug[i]) {
          case 'P': {
            uint8_t enc = u8(at);
            // The personality pointer carries a relocation of its own.
            at += encodedSize(at, enc);
            break;
          }
          case 'L':
            cie.lsdaEncoding = u8(at);
            break;
          case 'R':
            cie.fdeEncoding = u8(at);
            break;
          case 'S':
            break;
          default:
            bad(pos, "CIE augmentation '" + aug + "' is not supported");
        }
      }
    } else if (!aug.empty()) {
      bad(pos, "CIE augmentation '" + aug + "' is not supported");
    }
    cies_[pos] = cie;
  }

  void fixFde(uint32_t pos, uint32_t ciePointer) {
    uint32_t cieAt = pos + 4 - ciePointer;
    auto it = cies_.find(cieAt);
    if (ciePointer > pos + 4 || it == cies_.end()) bad(pos, "FDE does not point at a CIE before it");
    const CieInfo& cie = it->second;
    uint32_t at = pos + 8;
    fixPointer(at, cie.fdeEncoding, "pc_begin");
    at += encodedSize(at, cie.fdeEncoding);
    at += encodedSize(at, cie.fdeEncoding);  // pc_range is a length: nothing to fix
    if (at > end_) bad(pos, "truncated FDE");
    if (cie.hasAugmentationData) {
      uint64_t augLength = uleb(at);
      if (cie.lsdaEncoding != kOmit && augLength > 0) fixPointer(at, cie.lsdaEncoding, "LSDA pointer");
    }
  }

  void fixPointer(uint32_t at, uint8_t enc, const char* what) {
    if (enc == kOmit) return;
    uint32_t size = encodedSize(at, enc);
    if (uint64_t(at) + size > end_) bad(at, std::string(what) + " is truncated");
    if (relocated_.count(at)) return;  // the relocation already moved it
    uint8_t application = enc & 0x70 & ~kIndirect;
    int32_t stored = size == 4 ? int32_t(read32(data_.data() + at)) : int16_t(read16(data_.data() + at));
    uint32_t fieldObj = in_.addr + at;
    uint32_t fieldFinal = base_ + at;
    int64_t value;
    if (application == kPcRel) {
      uint32_t target = fieldObj + uint32_t(stored);
      uint32_t moved = displacement(image_, o_, target, std::string("__eh_frame ") + what);
      value = int32_t(target + moved - fieldFinal);
    } else if (application == 0 && size == 4) {
      uint32_t target = uint32_t(stored);
      value = target + displacement(image_, o_, target, std::string("__eh_frame ") + what);
      addRebase(image_, fieldFinal);
    } else {
      bad(at, std::string(what) + " uses pointer encoding " + hex(enc) + ", which is not supported");
    }
    uint8_t* out = bytesAt(image_, fieldFinal, size);
    if (size == 4) {
      write32(out, uint32_t(value));
    } else {
      if (value < -32768 || value > 32767) bad(at, std::string(what) + " no longer fits in 2 bytes");
      write16(out, uint16_t(value));
    }
  }

  Image& image_;
  int o_;
  const ObjectFile& obj_;
  const InputSection& in_;
  const std::vector<uint8_t>& data_;
  uint32_t base_;
  uint32_t end_ = 0;
  std::set<uint32_t> relocated_;
  std::map<uint32_t, CieInfo> cies_;
};

}  // namespace

void fixEhFrames(Image& image) {
  for (size_t o = 0; o < image.objects.size(); ++o) {
    const ObjectFile& obj = image.objects[o];
    for (size_t s = 0; s < obj.sections.size(); ++s) {
      const InputSection& in = obj.sections[s];
      if (in.segname != "__TEXT" || in.sectname != "__eh_frame" || image.placements[o][s].output < 0) continue;
      EhFrameWalker(image, int(o), int(s)).run();
    }
  }
}

}  // namespace torvel::ld
