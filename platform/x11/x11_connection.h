// The connection to the X server, and how its replies are asked for and read: each reply as
// owned bytes, which the readers in x11_replies.h take apart.
#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "x11_replies.h"

namespace screenprobe::x11 {

struct FreeDeleter {
  void operator()(void* pointer) const { std::free(pointer); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeDeleter>;

struct DisconnectDeleter {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, DisconnectDeleter>;

// Bounds on what is read of a property, in 32-bit units. Per-monitor work areas: four values for
// each of 1024 monitors. _NET_SUPPORTED: 4096 atoms, some forty times what window managers list.
// The resource database and the settings blob: 256 KiB each, far beyond any real one.
constexpr uint32_t kMaxAreaValues = 4 * 1024;
constexpr uint32_t kMaxSupported = 4096;
constexpr uint32_t kMaxTextUnits = 64 * 1024;

// A connection to the display that $DISPLAY names, with $XAUTHORITY's cookies, made without a
// word on standard error; the screen number it names goes to `screen_number`.
Connection connect_quietly(int* screen_number);

// False when the connection is broken. Throws std::bad_alloc when memory ran short, which the
// probe does not take for a missing screen.
bool connected(xcb_connection_t* c);

// The answer to a request, or null when the server answered with an error (which is freed).
template <typename Reply, typename Cookie>
ReplyPtr<Reply> await(xcb_connection_t* c, Cookie cookie,
                      Reply* (*reply_of)(xcb_connection_t*, Cookie, xcb_generic_error_t**)) {
  xcb_generic_error_t* error = nullptr;
  ReplyPtr<Reply> reply(reply_of(c, cookie, &error));
  std::free(error);
  return reply;
}

// A reply's bytes, as the readers take them. libxcb allocates a reply's 32 bytes plus the
// length it states, so fields within the first 32 bytes can be read directly from the reply.
template <typename Reply>
Bytes bytes_of(const ReplyPtr<Reply>& reply) {
  if (!reply) return {};
  return Bytes(reinterpret_cast<const uint8_t*>(reply.get()), 32 + size_t{reply->length} * 4);
}

// Asks for `units` 32-bit units of a property from `offset` on, if it has the given type.
xcb_get_property_cookie_t ask_property(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                                       xcb_atom_t type, uint32_t offset, uint32_t units);

// The value of an asked-for property, if it has the type and format and adds up (see
// read_property); `holder` keeps the reply the value lies in.
std::optional<PropertyValue> await_property(xcb_connection_t* c, xcb_get_property_cookie_t cookie,
                                            xcb_atom_t type, uint8_t format,
                                            ReplyPtr<xcb_get_property_reply_t>& holder);

// The items of a format-32 property of the given type; empty when it is missing or malformed.
std::vector<uint32_t> await_items(xcb_connection_t* c, xcb_get_property_cookie_t cookie,
                                  xcb_atom_t type);

// Asks for the atom called `name`, if it exists: a property under an atom nobody interned
// cannot be set, so there is nothing to read under it.
xcb_intern_atom_cookie_t ask_atom(xcb_connection_t* c, const std::string& name);

// The atom asked for, or XCB_ATOM_NONE.
xcb_atom_t await_atom(xcb_connection_t* c, xcb_intern_atom_cookie_t cookie);

// Bytes as text.
std::string_view text_of(Bytes bytes);

}  // namespace screenprobe::x11
