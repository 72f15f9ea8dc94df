#include "uitoolkit/core/ui_containers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace SkinUI {
namespace {

int g_items[8];
void* Item(int n) { return &g_items[n]; }

// Operations on indexes outside the array are refused and change nothing.
TEST(CUiPtrArray, RefusesIndexesOutsideTheArray) {
  CUiPtrArray array;
  EXPECT_TRUE(array.Add(Item(0)));
  EXPECT_TRUE(array.Add(Item(1)));
  struct Row {
    int index;
    bool set, insert, remove;
  };
  const Row rows[] = {{-1, false, false, false}, {2, false, true, false}, {3, false, false, false},
                      {100000, false, false, false}};
  for (const Row& row : rows) {
    CUiPtrArray copy = array;
    EXPECT_EQ(row.set, copy.SetAt(row.index, Item(7))) << row.index;
    copy = array;
    EXPECT_EQ(row.insert, copy.InsertAt(row.index, Item(7))) << row.index;
    copy = array;
    EXPECT_EQ(row.remove, copy.Remove(row.index)) << row.index;
    EXPECT_EQ(nullptr, array.GetAt(row.index)) << row.index;
  }
  EXPECT_EQ(2, array.GetSize());
  EXPECT_EQ(Item(1), array[1]);
}

// Insertion, removal of ranges and lookup keep the order of the remaining items.
TEST(CUiPtrArray, KeepsOrderThroughInsertAndRemove) {
  CUiPtrArray array(2);
  for (int i = 0; i < 5; ++i) array.Add(Item(i));
  EXPECT_TRUE(array.InsertAt(0, Item(5)));
  EXPECT_TRUE(array.InsertAt(3, Item(6)));
  EXPECT_TRUE(array.Remove(1, 2));
  EXPECT_FALSE(array.Remove(4, 3));
  const void* expected[] = {Item(5), Item(6), Item(2), Item(3), Item(4)};
  ASSERT_EQ(5, array.GetSize());
  for (int i = 0; i < 5; ++i) EXPECT_EQ(expected[i], array.GetAt(i)) << i;
  EXPECT_EQ(3, array.Find(Item(3)));
  EXPECT_EQ(-1, array.Find(Item(0)));
  array.Resize(7);
  EXPECT_EQ(nullptr, array.GetAt(6));
  EXPECT_EQ(Item(5), array.GetData()[0]);
  array.Empty();
  EXPECT_TRUE(array.IsEmpty());
  EXPECT_EQ(nullptr, array.GetData());
}

// Keys are exact (case-sensitive); Insert never overwrites, Set does and returns the old pointer.
TEST(CUiStringPtrMap, StoresPointersUnderExactKeys) {
  CUiStringPtrMap map;
  EXPECT_EQ(83, map.GetBucketCount());
  struct Row {
    const wchar_t* key;
    void* data;
    bool inserted;
  };
  const Row rows[] = {{L"closebtn", Item(0), true}, {L"CloseBtn", Item(1), true},
                      {L"closebtn", Item(2), false}, {L"", Item(3), true},
                      {nullptr, Item(4), false}};
  for (const Row& row : rows) EXPECT_EQ(row.inserted, map.Insert(row.key, row.data));
  EXPECT_EQ(3, map.GetSize());
  EXPECT_EQ(Item(0), map.Find(L"closebtn"));
  EXPECT_EQ(Item(1), map.Find(L"CloseBtn"));
  EXPECT_EQ(Item(3), map.Find(L""));
  EXPECT_EQ(nullptr, map.Find(L"CLOSEBTN"));
  EXPECT_EQ(nullptr, map.Find(nullptr));
  EXPECT_EQ(Item(0), map.Set(L"closebtn", Item(5)));
  EXPECT_EQ(nullptr, map.Set(L"minbtn", Item(6)));
  EXPECT_EQ(Item(5), map.Find(L"closebtn"));
  EXPECT_TRUE(map.Remove(L"CloseBtn"));
  EXPECT_FALSE(map.Remove(L"CloseBtn"));
  EXPECT_EQ(3, map.GetSize());
  map.RemoveAll();
  EXPECT_EQ(0, map.GetSize());
  EXPECT_EQ(nullptr, map.Find(L"minbtn"));
}

// With few buckets every key still resolves, and walking by index visits each key once.
TEST(CUiStringPtrMap, WalksAllEntriesWhateverTheBucketCount) {
  for (int buckets : {0, 1, 3, 83}) {
    CUiStringPtrMap map(buckets);
    std::vector<std::wstring> keys;
    for (int i = 0; i < 200; ++i) keys.push_back(L"key" + std::to_wstring(i));
    for (size_t i = 0; i < keys.size(); ++i) {
      ASSERT_TRUE(map.Insert(keys[i].c_str(), Item(static_cast<int>(i % 8))));
    }
    for (size_t i = 0; i < keys.size(); ++i) {
      EXPECT_EQ(Item(static_cast<int>(i % 8)), map.Find(keys[i].c_str())) << buckets;
    }
    std::vector<std::wstring> walked;
    for (int i = 0; i < map.GetSize(); ++i) walked.push_back(map[i]);
    EXPECT_EQ(nullptr, map.GetAt(map.GetSize()));
    EXPECT_EQ(nullptr, map.GetAt(-1));
    std::sort(walked.begin(), walked.end());
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, walked) << buckets;
  }
}

// The growing map outgrows its buckets twice while filling, and every key stays findable,
// removable and re-keyable across each growth; emptying it goes back to the initial buckets.
TEST(CUiGrowingStringPtrMap, KeysSurviveEachGrowth) {
  for (const int initialBuckets : {1, 3, 83}) {
    const int first = 25 * initialBuckets, last = 5 * first;  // keys before and after renaming
    CUiGrowingStringPtrMap map(initialBuckets);
    std::vector<int> values(static_cast<size_t>(last));
    auto key = [](const wchar_t* prefix, int i) { return prefix + std::to_wstring(i); };
    for (int i = 0; i < first; ++i) ASSERT_TRUE(map.Insert(key(L"c", i).c_str(), &values[i]));
    const int grownBuckets = map.GetBucketCount();
    EXPECT_GT(grownBuckets, initialBuckets);
    // Remove every key c<i>, give the odd ones the name r<i>, then fill past another growth.
    for (int i = 0; i < first; ++i) {
      ASSERT_TRUE(map.Remove(key(L"c", i).c_str()));
      if (i % 2 == 1) {
        ASSERT_TRUE(map.Insert(key(L"r", i).c_str(), &values[i])) << i;
      }
    }
    for (int i = first; i < last; ++i) {
      ASSERT_EQ(nullptr, map.Set(key(L"c", i).c_str(), &values[i]));
    }
    EXPECT_GT(map.GetBucketCount(), grownBuckets);
    for (int i = 0; i < last; ++i) {
      EXPECT_EQ(i >= first ? &values[i] : nullptr, map.Find(key(L"c", i).c_str())) << i;
      EXPECT_EQ(i < first && i % 2 == 1 ? &values[i] : nullptr, map.Find(key(L"r", i).c_str()));
    }
    int visited = 0;
    map.ForEach([&](const wchar_t* name, void* data) { visited += map.Find(name) == data; });
    EXPECT_EQ(last - first + first / 2, visited);
    EXPECT_EQ(visited, map.GetSize());
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_EQ(initialBuckets, map.GetBucketCount());
  }
}

}  // namespace
}  // namespace SkinUI
