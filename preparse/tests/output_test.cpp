// Tests of the target writer: the "%s" formats of the console lines and
// checked writes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <thread>

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

TEST(Output, AHeldSectionLargerThanTheBufferNeverReachesTheTarget) {
  // A pipe cannot be cut back: the section must stay in memory until kept.
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  const std::string before(700 << 10, 'b');
  const std::string dropped(3 << 20, 'd');
  const std::string kept(2 << 20, 'k');
  std::string received;
  std::thread reader([&] {
    char chunk[1 << 16];
    for (ssize_t n; (n = ::read(ends[0], chunk, sizeof chunk)) > 0;) received.append(chunk, static_cast<std::size_t>(n));
  });
  {
    Output out(ends[1]);
    out.put(before);
    out.hold();
    out.put(dropped.substr(0, 100));
    out.put(dropped.substr(100));
    out.takeBack();
    out.hold();
    out.put(kept);
    out.keep();
    out.put("end");
    EXPECT_TRUE(out.flush());
  }
  ::close(ends[1]);
  reader.join();
  ::close(ends[0]);
  EXPECT_EQ(received, before + kept + "end");
}
