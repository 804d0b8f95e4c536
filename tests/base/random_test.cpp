#include "base/random.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::vector<int> Draw(int n) {
  std::vector<int> values;
  for (int i = 0; i < n; ++i) values.push_back(Random());
  return values;
}

TEST(Random, KnownSequences) {
  SeedRandom(1);
  EXPECT_EQ(Draw(4), (std::vector<int>{41, 18467, 6334, 26500}));
  SeedRandom(0);
  EXPECT_EQ(Draw(4), (std::vector<int>{38, 7719, 21238, 2437}));
}

TEST(Random, EachThreadHasItsOwnSequence) {
  SeedRandom(0);
  Draw(2);
  std::vector<int> other;
  std::thread([&] { other = Draw(4); }).join();  // a new thread starts as if seeded 1
  EXPECT_EQ(other, (std::vector<int>{41, 18467, 6334, 26500}));
  EXPECT_EQ(Draw(2), (std::vector<int>{21238, 2437}));
}

TEST(Random, BetweenBoundsTakesOneDrawEvenForAnEmptyRange) {
  SeedRandom(1);  // draws 41, 18467, 6334, 26500
  EXPECT_EQ(RandomBetween(10, 20), 10 + 41 % 11);
  EXPECT_EQ(RandomBetween(5, 4), 5);
  EXPECT_EQ(RandomBetween(10, 5), 12);  // 6334 % -4 is 2
  EXPECT_EQ(RandomBetween(-2147483647 - 1, 2147483647), -2147483647 - 1 + 26500);
  SeedRandom(1);
  RandomBetween(5, 4);
  EXPECT_EQ(Random(), 18467);
}

}  // namespace
