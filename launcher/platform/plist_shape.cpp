#include "plist_shape.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vornik {

namespace {

constexpr std::size_t trailerSize = 32;
constexpr const char binaryMagic[] = "bplist00";
constexpr std::size_t magicSize = sizeof binaryMagic - 1;

// Object markers of the containers: array, set, dictionary.
constexpr unsigned arrayType = 0xA, setType = 0xC, dictionaryType = 0xD;
constexpr unsigned integerType = 0x1;

class BinaryPlist {
public:
    explicit BinaryPlist(const std::string& data)
        : bytes_(reinterpret_cast<const std::uint8_t*>(data.data())), size_(data.size()) {}

    bool isModest() {
        if (!readTrailer()) return false;
        if (!enter(top_)) return false;
        while (!stack_.empty()) {
            Frame& frame = stack_.back();
            if (frame.next < frame.references) {
                std::uint64_t child = 0;
                if (!number(frame.firstReference + frame.next * referenceSize_, referenceSize_, child) ||
                    child >= objectCount_)
                    return false;
                ++frame.next;
                auto seen = objects_.find(child);
                if (seen == objects_.end()) {
                    if (!enter(child)) return false;
                    continue;  // its frame is on top now, or it was a leaf and is done
                }
                if (seen->second.open) return false;  // a cycle
                if (!fold(stack_.back(), seen->second)) return false;
                continue;
            }
            Object& finished = objects_[frame.object];
            finished = Object{frame.nodes, frame.depth, false};
            stack_.pop_back();
            if (!stack_.empty() && !fold(stack_.back(), finished)) return false;
        }
        return objects_[top_].depth <= deepestBinaryPlist;
    }

private:
    // What is known of an object reached so far. Each one reached adds at
    // least one node, so there are never more of them than the node bound.
    struct Object {
        std::uint64_t nodes;
        std::uint64_t depth;
        bool open;  // its frame is on the stack: reaching it again is a cycle
    };

    struct Frame {
        std::uint64_t object;
        std::uint64_t firstReference;  // offset of its first object reference
        std::uint64_t references;      // how many references follow
        std::uint64_t next;
        std::uint64_t nodes;
        std::uint64_t depth;
    };

    // A big-endian unsigned number of 1 to 8 bytes at `offset`, within the objects.
    bool number(std::uint64_t offset, unsigned width, std::uint64_t& value) const {
        if (width == 0 || width > 8 || offset > limit_ || width > limit_ - offset) return false;
        value = 0;
        for (unsigned i = 0; i < width; ++i) value = (value << 8) | bytes_[offset + i];
        return true;
    }

    bool readTrailer() {
        if (size_ < magicSize + trailerSize) return false;
        limit_ = size_;
        const std::uint64_t trailer = size_ - trailerSize;
        offsetSize_ = bytes_[trailer + 6];
        referenceSize_ = bytes_[trailer + 7];
        std::uint64_t tableOffset = 0;
        if (!number(trailer + 8, 8, objectCount_) || !number(trailer + 16, 8, top_) ||
            !number(trailer + 24, 8, tableOffset))
            return false;
        if (offsetSize_ == 0 || offsetSize_ > 8 || referenceSize_ == 0 || referenceSize_ > 8) return false;
        if (tableOffset < magicSize || tableOffset > trailer) return false;
        if (objectCount_ == 0 || objectCount_ > (trailer - tableOffset) / offsetSize_) return false;
        if (top_ >= objectCount_) return false;
        tableOffset_ = tableOffset;
        limit_ = trailer;  // objects and the offset table lie before the trailer
        return true;
    }

    // Starts an object: a container gets a frame, anything else is done at once.
    bool enter(std::uint64_t object) {
        std::uint64_t offset = 0;
        if (!number(tableOffset_ + object * offsetSize_, offsetSize_, offset) || offset < magicSize ||
            offset >= limit_)
            return false;
        const unsigned type = bytes_[offset] >> 4;
        if (type != arrayType && type != setType && type != dictionaryType) {
            const Object& leaf = objects_[object] = Object{1, 1, false};
            return stack_.empty() || fold(stack_.back(), leaf);
        }
        if (stack_.size() >= deepestBinaryPlist) return false;
        std::uint64_t count = bytes_[offset] & 0x0F;
        std::uint64_t position = offset + 1;
        if (count == 0x0F) {  // the count follows as an integer object
            if (position >= limit_ || (bytes_[position] >> 4) != integerType) return false;
            const unsigned width = 1u << (bytes_[position] & 0x0F);
            if (!number(position + 1, width, count)) return false;
            position += 1 + width;
        }
        const std::uint64_t perEntry = type == dictionaryType ? 2 : 1;  // keys, then values
        if (position > limit_ || count > (limit_ - position) / referenceSize_ / perEntry) return false;
        objects_[object] = Object{0, 0, true};
        stack_.push_back(Frame{object, position, count * perEntry, 0, 1, 1});
        return true;
    }

    // Adds a finished child to its parent's node count and depth.
    bool fold(Frame& parent, const Object& child) {
        parent.nodes += child.nodes;
        parent.depth = std::max(parent.depth, child.depth + 1);
        return parent.nodes <= mostBinaryPlistNodes && parent.depth <= deepestBinaryPlist;
    }

    const std::uint8_t* bytes_;
    std::uint64_t size_;
    std::uint64_t limit_ = 0;
    unsigned offsetSize_ = 0;
    unsigned referenceSize_ = 0;
    std::uint64_t objectCount_ = 0;
    std::uint64_t top_ = 0;
    std::uint64_t tableOffset_ = 0;
    std::unordered_map<std::uint64_t, Object> objects_;
    std::vector<Frame> stack_;
};

bool opensFewContainers(const std::string& text) {
    std::size_t containers = 0;
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        for (const char* name : {"array", "dict"}) {
            const std::string_view tag(name);
            if (text.compare(at + 1, tag.size(), tag) != 0) continue;
            const std::size_t after = at + 1 + tag.size();
            if (after < text.size() && text[after] == '/') continue;  // <array/> holds nothing
            if (after < text.size() && text[after] != '>' &&
                !std::isspace(static_cast<unsigned char>(text[after])))
                continue;
            if (++containers > mostXmlPlistContainers) return false;
        }
    }
    return true;
}

}  // namespace

bool isModestPropertyList(const std::string& data) {
    if (data.compare(0, magicSize, binaryMagic) == 0) return BinaryPlist(data).isModest();
    return opensFewContainers(data);
}

}  // namespace vornik
