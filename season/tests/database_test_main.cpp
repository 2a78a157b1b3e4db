// The database tests share one throwaway server, stopped after the last test.
#include <gtest/gtest.h>

#include "throwaway_database.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int status = RUN_ALL_TESTS();
  kstest::sharedDatabase().stop();
  return status;
}
