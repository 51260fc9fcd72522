# screenprobe's Homebrew formula. The release workflow fills in the homepage, the source archive's
# URL and its SHA-256; the macOS workflow installs, tests and audits it from a local tap.
class Screenprobe < Formula
  desc "Print the main screen's menu bar and notch geometry as JSON"
  homepage "https://github.com/screenprobe/screenprobe"
  url "https://github.com/screenprobe/screenprobe/releases/download/v1.0.0/screenprobe-1.0.0.tar.gz"
  sha256 "0000000000000000000000000000000000000000000000000000000000000000"
  license "MIT"

  depends_on "cmake" => :build
  depends_on "ninja" => :build
  depends_on arch: :arm64
  depends_on :macos

  def install
    # The project's default target is macOS 26; build for the Mac it is installed on instead
    # (the probe needs 13.3 or later).
    system "cmake", "-S", ".", "-B", "build", "-G", "Ninja",
           "-DSCREENPROBE_BUILD_TESTS=OFF",
           "-DCMAKE_OSX_DEPLOYMENT_TARGET=#{MacOS.version}",
           *std_cmake_args
    system "cmake", "--build", "build"
    system "cmake", "--install", "build"
  end

  test do
    # A Mac without a window-server session (a CI runner) has no main screen: the failure line
    # and status 1. With one, the report.
    output = shell_output("#{bin}/screenprobe; echo \"status $?\"")
    report, status = output.split(/^status /)
    case status.to_i
    when 0 then assert_match(/^  "screenWidth" : [1-9]/, report)
    when 1 then assert_equal "{\"error\":\"sem tela\"}\n", report
    else flunk "screenprobe ended with status #{status}"
    end
  end
end
