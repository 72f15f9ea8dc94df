#include "uitoolkit/core/ui_containers.h"

#include <climits>
#include <cstdint>
#include <cwchar>
#include <utility>

namespace SkinUI {

CUiPtrArray::CUiPtrArray(int reserve) {
  if (reserve > 0) m_items.reserve(static_cast<std::size_t>(reserve));
}

void CUiPtrArray::Resize(int size) { m_items.resize(size > 0 ? static_cast<std::size_t>(size) : 0, nullptr); }

int CUiPtrArray::Find(const void* item) const {
  for (std::size_t i = 0; i < m_items.size(); ++i) {
    if (m_items[i] == item) return static_cast<int>(i);
  }
  return -1;
}

bool CUiPtrArray::Add(void* item) {
  m_items.push_back(item);
  return true;
}

bool CUiPtrArray::SetAt(int index, void* item) {
  if (index < 0 || index >= GetSize()) return false;
  m_items[static_cast<std::size_t>(index)] = item;
  return true;
}

bool CUiPtrArray::InsertAt(int index, void* item) {
  if (index < 0 || index > GetSize()) return false;
  m_items.insert(m_items.begin() + index, item);
  return true;
}

bool CUiPtrArray::Remove(int index, int count) {
  if (index < 0 || count < 0 || index >= GetSize() || count > GetSize() - index) return false;
  m_items.erase(m_items.begin() + index, m_items.begin() + index + count);
  return true;
}

void* CUiPtrArray::GetAt(int index) const {
  if (index < 0 || index >= GetSize()) return nullptr;
  return m_items[static_cast<std::size_t>(index)];
}

CUiStringPtrMap::CUiStringPtrMap(int bucketCount)
    : m_buckets(bucketCount > 0 ? static_cast<std::size_t>(bucketCount) : 1) {}

CUiStringPtrMap::~CUiStringPtrMap() { RemoveAll(); }

std::size_t CUiStringPtrMap::BucketOf(const wchar_t* key) const {
  // FNV-1a over the code units.
  std::uint32_t hash = 2166136261u;
  for (const wchar_t* p = key; *p != L'\0'; ++p) {
    hash ^= static_cast<std::uint32_t>(*p) & 0xFFFFu;
    hash *= 16777619u;
  }
  return hash % m_buckets.size();
}

CUiStringPtrMap::Entry* CUiStringPtrMap::FindEntry(const wchar_t* key) const {
  if (key == nullptr) return nullptr;
  for (Entry* entry = m_buckets[BucketOf(key)].get(); entry != nullptr; entry = entry->next.get()) {
    if (entry->key == key) return entry;
  }
  return nullptr;
}

void* CUiStringPtrMap::Find(const wchar_t* key) const {
  Entry* entry = FindEntry(key);
  return entry == nullptr ? nullptr : entry->data;
}

bool CUiStringPtrMap::Insert(const wchar_t* key, void* data) {
  if (key == nullptr || FindEntry(key) != nullptr) return false;
  std::unique_ptr<Entry>& head = m_buckets[BucketOf(key)];
  std::unique_ptr<Entry> entry(new Entry{CUiString(key), data, std::move(head)});
  head = std::move(entry);
  ++m_size;
  return true;
}

void* CUiStringPtrMap::Set(const wchar_t* key, void* data) {
  if (key == nullptr) return nullptr;
  if (Entry* entry = FindEntry(key)) {
    void* previous = entry->data;
    entry->data = data;
    return previous;
  }
  Insert(key, data);
  return nullptr;
}

bool CUiStringPtrMap::Remove(const wchar_t* key) {
  if (key == nullptr) return false;
  std::unique_ptr<Entry>* link = &m_buckets[BucketOf(key)];
  while (*link != nullptr) {
    if ((*link)->key == key) {
      std::unique_ptr<Entry> removed = std::move(*link);
      *link = std::move(removed->next);
      --m_size;
      return true;
    }
    link = &(*link)->next;
  }
  return false;
}

void CUiStringPtrMap::RemoveAll() {
  for (std::unique_ptr<Entry>& head : m_buckets) {
    // Unlink one entry at a time so that a long chain is not destroyed recursively.
    while (head != nullptr) {
      std::unique_ptr<Entry> next = std::move(head->next);
      head = std::move(next);
    }
  }
  m_size = 0;
}

const wchar_t* CUiStringPtrMap::GetAt(int index) const {
  if (index < 0 || index >= m_size) return nullptr;
  int position = 0;
  for (const std::unique_ptr<Entry>& head : m_buckets) {
    for (const Entry* entry = head.get(); entry != nullptr; entry = entry->next.get()) {
      if (position++ == index) return entry->key.GetData();
    }
  }
  return nullptr;
}

bool CUiStringPtrMap::MoveAllTo(CUiStringPtrMap& target) {
  if (target.m_size != 0) return false;
  for (std::unique_ptr<Entry>& head : m_buckets) {
    while (head != nullptr) {
      std::unique_ptr<Entry> entry = std::move(head);
      head = std::move(entry->next);
      std::unique_ptr<Entry>& targetHead = target.m_buckets[target.BucketOf(entry->key.GetData())];
      entry->next = std::move(targetHead);
      targetHead = std::move(entry);
    }
  }
  target.m_size = m_size;
  m_size = 0;
  return true;
}

CUiGrowingStringPtrMap::CUiGrowingStringPtrMap(int initialBucketCount)
    : m_initialBucketCount(initialBucketCount > 0 ? initialBucketCount : 1),
      m_map(new CUiStringPtrMap(m_initialBucketCount)) {}

bool CUiGrowingStringPtrMap::Insert(const wchar_t* key, void* data) {
  if (!m_map->Insert(key, data)) return false;
  GrowIfFull();
  return true;
}

void* CUiGrowingStringPtrMap::Set(const wchar_t* key, void* data) {
  void* previous = m_map->Set(key, data);
  GrowIfFull();
  return previous;
}

void CUiGrowingStringPtrMap::RemoveAll() {
  m_map.reset(new CUiStringPtrMap(m_initialBucketCount));
}

void CUiGrowingStringPtrMap::GrowIfFull() {
  const int buckets = m_map->GetBucketCount();
  if (m_map->GetSize() <= 2 * buckets || buckets > (INT_MAX - 1) / 4) return;
  std::unique_ptr<CUiStringPtrMap> larger(new CUiStringPtrMap(4 * buckets + 1));
  m_map->MoveAllTo(*larger);
  m_map = std::move(larger);
}

}  // namespace SkinUI
