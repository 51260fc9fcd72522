#include "xsettings.h"

namespace screenprobe::x11 {

namespace {

// The blob's own byte order (X.h's LSBFirst or MSBFirst), which need not be this machine's: the
// settings manager writes it as it likes.
enum ByteOrder : uint8_t { kLsbFirst = 0, kMsbFirst = 1 };

enum SettingType : uint32_t { kInteger = 0, kString = 1, kColor = 2 };

class BlobReader {
 public:
  BlobReader(Bytes bytes, ByteOrder order) : rest_(bytes), order_(order) {}

  Bytes rest() const { return rest_; }

  bool skip(uint64_t count) {
    if (count > rest_.size()) return false;
    rest_ = rest_.subspan(static_cast<size_t>(count));
    return true;
  }

  // An unsigned number of `size` bytes (1, 2 or 4) in the blob's byte order.
  bool card(size_t size, uint32_t& value) {
    if (rest_.size() < size) return false;
    value = 0;
    for (size_t i = 0; i < size; ++i) {
      value = (value << 8) | rest_[order_ == kMsbFirst ? i : size - 1 - i];
    }
    rest_ = rest_.subspan(size);
    return true;
  }

 private:
  Bytes rest_;
  ByteOrder order_;
};

}  // namespace

std::optional<int32_t> read_xsettings_integer(Bytes blob, std::string_view name) {
  if (blob.empty() || (blob[0] != kLsbFirst && blob[0] != kMsbFirst)) return std::nullopt;
  BlobReader in(blob, static_cast<ByteOrder>(blob[0]));
  uint32_t count = 0;
  // Byte order, three bytes of padding and the serial, then the number of settings.
  if (!in.skip(8) || !in.card(4, count)) return std::nullopt;

  std::optional<int32_t> found;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t type = 0;
    uint32_t name_length = 0;
    if (!in.card(1, type) || !in.skip(1) || !in.card(2, name_length) ||
        in.rest().size() < name_length) {
      return std::nullopt;
    }
    const std::string_view setting(reinterpret_cast<const char*>(in.rest().data()), name_length);
    // The name padded to four bytes, then the serial of the setting's last change.
    if (!in.skip(padded4(name_length)) || !in.skip(4)) return std::nullopt;

    uint32_t value = 0;
    switch (type) {
      case kInteger:
        if (!in.card(4, value)) return std::nullopt;
        break;
      case kString:
        if (!in.card(4, value) || !in.skip(padded4(value))) return std::nullopt;
        break;
      case kColor:
        if (!in.skip(4 * 2)) return std::nullopt;  // red, green, blue, alpha: CARD16 each
        break;
      default:
        return std::nullopt;
    }
    if (type == kInteger && setting == name) {
      // Said twice, the setting has no one value; GDK rejects such a blob as a whole.
      if (found) return std::nullopt;
      found = static_cast<int32_t>(value);
    }
  }
  return found;
}

}  // namespace screenprobe::x11
