// A throwaway X server for one test: Xvfb on a display number it picks itself (-displayfd),
// started with -noreset so that it outlives its clients, stopped by its process id.
#pragma once

#include <sys/types.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace screenprobe::testing {

class XvfbServer {
 public:
  struct Options {
    int width = 1920;
    int height = 1080;
    std::string auth_file;  // with a file, clients need its cookie
  };

  XvfbServer() : XvfbServer(Options{}) {}
  explicit XvfbServer(const Options& options);
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // ":N", for $DISPLAY.
  const std::string& display() const { return display_; }
  int number() const { return number_; }

  // Stops the server now; its display number then has nobody behind it.
  void stop();

  // Root window properties, set as any client can set them, whatever their type and format.
  void set_property(std::string_view name, std::string_view type, uint8_t format, const void* data,
                    uint32_t count);
  void set_cardinals(std::string_view name, const std::vector<uint32_t>& values);
  void set_string(std::string_view name, std::string_view text);

  // Runs xrandr against this server with the given arguments; fails the test if it fails.
  void xrandr(const std::vector<std::string>& args);

 private:
  pid_t pid_ = -1;
  int number_ = -1;
  std::string display_;
};

}  // namespace screenprobe::testing
