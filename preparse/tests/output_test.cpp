// Tests of the target writer: the "%s" formats of the console lines and
// checked writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "output.h"

using preparse::Output;

TEST(Output, FillsEachMarkInTurnAndKeepsEveryOtherByte) {
  std::string written;
  Output out(written);
  out.print("%s was railed by %s\n", {"V^7", "K^7"});
  out.print("100% %s%", {"sure"});
  out.print("%s and %s", {"one"});  // a mark without its text stays empty
  out.put(std::string(5000, 'x'));
  EXPECT_TRUE(out.flush());
  EXPECT_EQ(written, "V^7 was railed by K^7\n100% sure%one and " + std::string(5000, 'x'));
}

TEST(Output, AFailedWriteIsReportedAndStaysReported) {
  const int fd = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  {
    Output out(fd);
    out.put("line\n");
    EXPECT_FALSE(out.flush());
    out.put("more\n");
    EXPECT_FALSE(out.flush());
    EXPECT_TRUE(out.failed());
  }
  ::close(fd);
}

TEST(Output, ASectionThatCannotBeTakenBackFailsTheTarget) {
  // Larger than the buffer, so that part of it reaches the device, which
  // cannot be cut back. (Files are, see the program's tests.)
  const int device = ::open("/dev/null", O_WRONLY);
  ASSERT_GE(device, 0);
  {
    Output out(device);
    out.hold();
    out.put(std::string(3 << 20, 's'));
    out.takeBack();
    EXPECT_FALSE(out.flush());
  }
  ::close(device);
}
