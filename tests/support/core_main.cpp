#include <gtest/gtest.h>

#include "support/temp_home.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  pw::test::UseTemporaryHome();
  const int result = RUN_ALL_TESTS();
  pw::test::RemoveTemporaryHome();
  return result;
}
