// The built binary as a caller sees it: its bytes, its status, its silence on standard error.
#include <unistd.h>

#include <gtest/gtest.h>

#include "process_runner.h"

namespace screenprobe::testing {
namespace {

const std::string kBinary = SCREENPROBE_BINARY;
const std::string kNoScreen = "{\"error\":\"sem tela\"}\n";

ProcessResult run_without_display(std::vector<std::string> args = {},
                                  StandardOutput output = StandardOutput::kCaptured) {
  ProcessOptions options;
  options.args = std::move(args);
  options.environment = without_display();
  options.standard_output = output;
  return run_process(kBinary, options);
}

TEST(Binary, NoScreenPrintsTheFailureLineAndExitsOne) {
  if (!SCREENPROBE_SCREEN_CAN_BE_HIDDEN) GTEST_SKIP() << "this platform's screen cannot be hidden";
  const ProcessResult result = run_without_display();
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.out, kNoScreen);
  EXPECT_EQ(result.err, "");
}

TEST(Binary, ArgumentsAreIgnored) {
  const ProcessResult plain = run_without_display();
  EXPECT_EQ(plain.err, "");
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"--version"}, {"-x", "foo", "--", ""}, {std::string(10000, 'a')}}) {
    const ProcessResult result = run_without_display(args);
    EXPECT_EQ(result.exit_status, plain.exit_status) << args.front();
    EXPECT_EQ(result.out, plain.out);
    EXPECT_EQ(result.err, "");
  }
}

TEST(Binary, AnOutputThatCannotBeWrittenNeverSucceeds) {
  for (StandardOutput output :
       {StandardOutput::kDevFull, StandardOutput::kClosed, StandardOutput::kBrokenPipe}) {
    SCOPED_TRACE(static_cast<int>(output));
    if (output == StandardOutput::kDevFull && access("/dev/full", W_OK) != 0) continue;
    const ProcessResult result = run_without_display({}, output);
    EXPECT_EQ(result.exit_status, 74);
    EXPECT_EQ(result.signal, 0);
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
  }
}

}  // namespace
}  // namespace screenprobe::testing
