#include "LxMap.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "LxMemoryStream.h"

TEST(LxMap, GetOfAMissingKeyIsZero) {
  TLxIntegerToIntegerMap map;
  EXPECT_EQ(map.Get(7), 0);
  EXPECT_TRUE(map.Sorted());
  EXPECT_EQ(map.ItemSize(), static_cast<std::int32_t>(sizeof(TLxIntegerMapRecord)));
}

TEST(LxMap, PutZeroDeletesOrDoesNothing) {
  TLxIntegerToIntegerMap map;
  map.Put(4, 0);
  EXPECT_EQ(map.Count(), 0);
  map.Put(4, 40);
  EXPECT_EQ(map.Get(4), 40);
  map.Put(4, 41);
  EXPECT_EQ(map.Get(4), 41);
  EXPECT_EQ(map.Count(), 1);
  map.Put(4, 0);
  EXPECT_EQ(map.Count(), 0);
  EXPECT_EQ(map.Get(4), 0);
}

TEST(LxMap, KeysComeBackInAscendingSignedOrder) {
  TLxIntegerToIntegerMap map;
  map.Put(3, 30);
  map.Put(-5, -50);
  map.Put(0, 1);
  ASSERT_EQ(map.Count(), 3);
  EXPECT_EQ(map.Keys(0), -5);
  EXPECT_EQ(map.Keys(1), 0);
  EXPECT_EQ(map.Keys(2), 3);
  EXPECT_EQ(map.Values(0), -50);
}

TEST(LxMap, ExtremeKeysDoNotOverflowTheComparison) {
  TLxIntegerToIntegerMap map;
  map.Put(INT_MAX, 1);
  map.Put(INT_MIN, 2);
  map.Put(1, 3);
  map.Put(-1, 4);
  EXPECT_EQ(map.Keys(0), INT_MIN);
  EXPECT_EQ(map.Keys(3), INT_MAX);
  EXPECT_EQ(map.Get(INT_MIN), 2);
  EXPECT_EQ(map.Get(INT_MAX), 1);
}

TEST(LxMap, HoldsObjectReferences) {
  TLxIntegerToIntegerMap map;
  std::string object = "node";
  map.Put(42, &object);
  EXPECT_EQ(map.GetAs<std::string>(42), &object);
  EXPECT_EQ(map.GetAs<std::string>(43), nullptr);
  EXPECT_EQ(map.Get(42), reinterpret_cast<std::intptr_t>(&object));
}

TEST(LxMap, ManyKeysAgreeWithAReference) {
  TLxIntegerToIntegerMap map;
  std::uint32_t seed = 7;
  std::map<std::int32_t, std::intptr_t> reference;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const auto key = static_cast<std::int32_t>(seed % 1000) - 500;
    const std::intptr_t value = (seed >> 20) % 4;  // 0 deletes
    map.Put(key, value);
    if (value == 0) {
      reference.erase(key);
    } else {
      reference[key] = value;
    }
  }
  ASSERT_EQ(map.Count(), static_cast<std::int32_t>(reference.size()));
  std::int32_t index = 0;
  for (const auto& [key, value] : reference) {
    EXPECT_EQ(map.Keys(index), key);
    EXPECT_EQ(map.Values(index), value);
    ++index;
  }
}

TEST(LxMap, StreamFormRoundTripsWithZeroReservedBytes) {
  TLxIntegerToIntegerMap map;
  map.Put(2, 20);
  map.Put(1, 10);
  TLxMemoryStream stream;
  map.SaveToStream(stream);
  EXPECT_EQ(stream.Size(), 4 + 2 * map.ItemSize());
  // Record 0 starts with key 1 LE; everything but keys and values is zero.
  EXPECT_EQ(stream.Bytes().substr(4, 4), std::string("\x01\0\0\0", 4));
  stream.SetPosition(0);
  TLxIntegerToIntegerMap loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(loaded.Get(1), 10);
  EXPECT_EQ(loaded.Get(2), 20);
}
