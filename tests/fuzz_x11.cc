// libFuzzer: every X11 reader reads every input; the seeds are a hostile server's replies.
#include <fstream>

#include "crafted.h"
#include "x11_geometry.h"
#include "x11_replies.h"
#include "x11_resources.h"
#include "xsettings.h"

using namespace screenprobe::x11;
using namespace screenprobe::testing;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const Blob seeds[] = {Blob().add(xcb_setup_t{.roots_len = 1}),
                        monitors_reply(3, {{.nOutput = 60000, .width = 1, .height = 1}}),
                        monitors_reply(100000, {{.primary = 1, .width = 1, .height = 1}})};
  for (const Blob& seed : seeds) {
    std::ofstream((*argv)[*argc - 1] + ("/" + std::to_string(&seed - seeds)))
        .write(reinterpret_cast<const char*>(seed.data()), seed.size());
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Bytes bytes(data, size);
  if (auto monitors = read_monitors(bytes)) main_monitor(*monitors);
  if (auto value = read_property(bytes, size % 64, 32)) read_items32(value->bytes);
  read_setup_screen(bytes, size % 4);
  read_children(bytes);
  read_xsettings_integer(bytes, "Gdk/WindowScalingFactor");
  xft_dpi(std::string_view(reinterpret_cast<const char*>(data), size), size % 2 == 0);
  return 0;
}
