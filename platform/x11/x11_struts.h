// The panels' struts: the space windows on screen reserve along the top of the root window.
#pragma once

#include <xcb/xcb.h>

#include <vector>

#include "x11_replies.h"

namespace screenprobe::x11 {

// The top struts of the windows on screen, looked for level by level below the root from the
// children its QueryTree reply `root_tree` lists, one round trip per level. `partial_name` and
// `strut_name` are the atoms _NET_WM_STRUT_PARTIAL and _NET_WM_STRUT.
std::vector<TopStrut> find_top_struts(xcb_connection_t* c, Bytes root_tree, xcb_atom_t partial_name,
                                      xcb_atom_t strut_name);

}  // namespace screenprobe::x11
