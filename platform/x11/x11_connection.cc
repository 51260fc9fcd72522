#include "x11_connection.h"

#include <fcntl.h>
#include <unistd.h>

#include <new>

namespace screenprobe::x11 {

namespace {

// Whether the machine could still allocate the largest reply the probe asks for.
bool memory_to_spare() {
  constexpr size_t kLargestReply = size_t{kMaxTextUnits} * 4 + 32;
  void* volatile block = std::malloc(kLargestReply);  // volatile: the call must be made
  const bool spare = block != nullptr;
  std::free(block);
  return spare;
}

// libxcb writes a server's reason for refusing a connection ("Authorization required, ...")
// straight to descriptor 2. A refused connection is the ordinary no-screen answer, which the
// probe gives on standard output alone, so descriptor 2 points at /dev/null while connecting.
// Should any step fail, the connection is made all the same, only not quietly.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3)) {
    if (saved_ == -1) return;
    const int null_fd = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null_fd == -1) return;
    quiet_ = dup2(null_fd, STDERR_FILENO) != -1;
    close(null_fd);
  }
  ~QuietStandardError() {
    if (quiet_) dup2(saved_, STDERR_FILENO);
    if (saved_ != -1) close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
  bool quiet_ = false;
};

}  // namespace

Connection connect_quietly(int* screen_number) {
  QuietStandardError quiet;
  return Connection(xcb_connect(nullptr, screen_number));
}

// Running out of memory is not "no screen", and libxcb does not always say which it was: a reply
// it could not allocate can jam its input, which it reads as the server hanging up; allocations
// that fail while it connects come out as an unusable display. Nor is its "out of memory" always
// so: it refuses to allocate a reply or event that claims 2 GiB or more, which only a lying server
// sends. So any broken connection counts as no screen while memory is not short.
bool connected(xcb_connection_t* c) {
  const int error = c == nullptr ? XCB_CONN_ERROR : xcb_connection_has_error(c);
  if (error != 0 && !memory_to_spare()) throw std::bad_alloc();
  return error == 0;
}

xcb_get_property_cookie_t ask_property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                       xcb_atom_t type, uint32_t offset, uint32_t units) {
  return xcb_get_property(c, 0, window, name, type, offset, units);
}

std::optional<PropertyValue> await_property(xcb_connection_t* c, xcb_get_property_cookie_t cookie,
                                            xcb_atom_t type, uint8_t format,
                                            ReplyPtr<xcb_get_property_reply_t>& holder) {
  holder = await(c, cookie, xcb_get_property_reply);
  return read_property(bytes_of(holder), type, format);
}

std::vector<uint32_t> await_items(xcb_connection_t* c, xcb_get_property_cookie_t cookie,
                                  xcb_atom_t type) {
  ReplyPtr<xcb_get_property_reply_t> reply;
  std::optional<PropertyValue> value = await_property(c, cookie, type, 32, reply);
  return value ? read_items32(value->bytes) : std::vector<uint32_t>();
}

xcb_intern_atom_cookie_t ask_atom(xcb_connection_t* c, const std::string& name) {
  return xcb_intern_atom(c, 1, static_cast<uint16_t>(name.size()), name.data());
}

xcb_atom_t await_atom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie) {
  ReplyPtr<xcb_intern_atom_reply_t> reply = await(c, cookie, xcb_intern_atom_reply);
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string_view text_of(Bytes bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace screenprobe::x11
