// The toolkit's pointer containers. Neither owns what its pointers point at.
#pragma once

#include <memory>
#include <vector>

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// A growable array of pointers.
class CUiPtrArray {
 public:
  explicit CUiPtrArray(int reserve = 0);

  void Empty() { m_items.clear(); }
  bool IsEmpty() const { return m_items.empty(); }
  int GetSize() const { return static_cast<int>(m_items.size()); }
  // Sets the number of items; new items are null.
  void Resize(int size);

  // Position of the first item equal to `item`, or -1.
  int Find(const void* item) const;
  bool Add(void* item);
  // Index-based operations refuse (false) an index outside the array; InsertAt also takes
  // the position just past the end.
  bool SetAt(int index, void* item);
  bool InsertAt(int index, void* item);
  bool Remove(int index, int count = 1);

  // The item at `index`; null outside the array.
  void* GetAt(int index) const;
  void* operator[](int index) const { return GetAt(index); }
  // The items in order, or null when empty.
  void** GetData() { return m_items.empty() ? nullptr : m_items.data(); }

 private:
  std::vector<void*> m_items;
};

// A hash map from text keys (compared exactly) to pointers. The bucket count is fixed at
// construction.
class CUiStringPtrMap {
 public:
  explicit CUiStringPtrMap(int bucketCount = 83);
  ~CUiStringPtrMap();
  CUiStringPtrMap(const CUiStringPtrMap&) = delete;
  CUiStringPtrMap& operator=(const CUiStringPtrMap&) = delete;

  int GetBucketCount() const { return static_cast<int>(m_buckets.size()); }
  int GetSize() const { return m_size; }

  // The pointer stored under `key`, or null.
  void* Find(const wchar_t* key) const;
  // Adds a new key; false when the key is null or already present (nothing changes then).
  bool Insert(const wchar_t* key, void* data);
  // Stores `data` under `key`, adding the key when missing; returns the pointer it replaced, or
  // null.
  void* Set(const wchar_t* key, void* data);
  bool Remove(const wchar_t* key);
  void RemoveAll();

  // Key of the index-th entry in bucket order (for walking all entries), or null.
  const wchar_t* GetAt(int index) const;
  const wchar_t* operator[](int index) const { return GetAt(index); }
  // Calls `visit(key, data)` for every entry in bucket order; `visit` must not change the map.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const std::unique_ptr<Entry>& head : m_buckets) {
      for (const Entry* entry = head.get(); entry != nullptr; entry = entry->next.get()) {
        visit(entry->key.GetData(), entry->data);
      }
    }
  }
  // Moves every entry into `target`, which must be empty (false, nothing moved, otherwise).
  // The entries are relinked, not copied.
  bool MoveAllTo(CUiStringPtrMap& target);

 private:
  struct Entry {
    CUiString key;
    void* data;
    std::unique_ptr<Entry> next;
  };
  std::size_t BucketOf(const wchar_t* key) const;
  Entry* FindEntry(const wchar_t* key) const;

  std::vector<std::unique_ptr<Entry>> m_buckets;
  int m_size = 0;
};

// A string-to-pointer map for tables that grow with the skin. Each CUiStringPtrMap keeps the
// bucket count it was made with, so when the entries outnumber twice the buckets this owner
// makes a map about four times larger and moves the entries into it; lookup stays near constant.
class CUiGrowingStringPtrMap {
 public:
  explicit CUiGrowingStringPtrMap(int initialBucketCount = 83);

  int GetBucketCount() const { return m_map->GetBucketCount(); }
  int GetSize() const { return m_map->GetSize(); }
  void* Find(const wchar_t* key) const { return m_map->Find(key); }
  // As CUiStringPtrMap::Insert and Set.
  bool Insert(const wchar_t* key, void* data);
  void* Set(const wchar_t* key, void* data);
  bool Remove(const wchar_t* key) { return m_map->Remove(key); }
  // Empties the table and goes back to the initial bucket count.
  void RemoveAll();
  template <typename Visit>
  void ForEach(Visit visit) const {
    m_map->ForEach(visit);
  }

 private:
  void GrowIfFull();

  int m_initialBucketCount;
  std::unique_ptr<CUiStringPtrMap> m_map;
};

}  // namespace SkinUI
