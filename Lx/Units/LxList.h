#pragma once

// Unit LxList: growable arrays of fixed-size records in one contiguous block,
// and the in-place quicksort of item arrays (`SortItems`).
//
// Every caller error (a negative size, an index out of range) is raised as
//   ELxAssertionFailed(message, "LxList")
// whose Text() is the Portuguese message, e.g.
//   "O índice (5) está fora dos limites (0 a 3)".
// Stream errors (short reads, failed writes) propagate as the stream raised
// them (see LxStrm.h).

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>

class TLxStream;

// How a list compares two records: negative when `first` sorts before
// `second`, zero when they are equal, positive when it sorts after.
class TLxRecordComparer {
 public:
  virtual ~TLxRecordComparer() = default;
  virtual std::int32_t Compare(const void* first, const void* second) const = 0;
};

// The bytewise comparison of two records of `size` bytes: 0 when all bytes are
// equal, else the difference of the first differing bytes taken as unsigned
// (first minus second). For the two-byte records 01 FF and 01 00 the result is
// 0xFF - 0x00 = 255. Shared by every list of that record size; the instance
// lives until the program ends. `size` must be > 0.
const TLxRecordComparer& BytewiseComparer(std::int32_t size);

// A growable array of records of `ItemSize` bytes, back to back in one block.
//
// Invariants: 0 <= Count() <= Capacity(); records 0 .. Count()-1 are valid; the
// bytes beyond Count() are unspecified. Growth is linear, 16 records at a time
// (a new list has capacity 0; the first Insert makes it 16, the 17th 32).
//
// Subclasses that own what their records refer to override ReleaseItem, which
// is called for every record that leaves the list. NOTE for subclasses: C++ does
// not dispatch to a subclass's ReleaseItem from the base destructor, so a
// subclass that overrides ReleaseItem calls ClearForDestruction() in its own
// destructor (not Clear(), whose exceptions would end the program there).
class TLxCustomList {
 public:
  // Largest record size: the size is a signed 16-bit number.
  static constexpr std::int32_t kMaxItemSize = 32767;
  // Records added at a time when an Insert finds the block full.
  static constexpr std::int32_t kGrowthStep = 16;

  // A list of records of `itemSize` bytes, empty and without a block. A size
  // below 0 fails with "O tamanho do dado deve ser maior ou igual a zero"; above
  // 32767 with "O tamanho do dado deve ser no máximo 32767".
  explicit TLxCustomList(std::int32_t itemSize);
  // Clears the list. An exception raised by ReleaseItem while clearing is
  // handed to the destruction error handler (see SetListDestructionErrorHandler)
  // and does not stop the destruction.
  virtual ~TLxCustomList();

  TLxCustomList(const TLxCustomList&) = delete;
  TLxCustomList& operator=(const TLxCustomList&) = delete;

  std::int32_t ItemSize() const { return itemSize_; }
  std::int32_t Count() const { return count_; }
  std::int32_t Capacity() const { return capacity_; }
  bool Sorted() const { return sorted_; }

  // The records block (null when the list holds no block). Records lie back to
  // back: record i starts at Data() + i * ItemSize().
  std::byte* Data() { return data_.get(); }
  const std::byte* Data() const { return data_.get(); }
  // Pointer to record `index`; an index outside 0 .. Count()-1 fails with
  // "O índice (%d) está fora dos limites (0 a %d)".
  void* Items(std::int32_t index);
  const void* Items(std::int32_t index) const;

  // n below Count() is raised to Count(); n equal to the capacity does nothing;
  // otherwise the block is reallocated to exactly n records, keeping the first
  // Count() records. On allocation failure the old block stays.
  void SetCapacity(std::int32_t n);
  // SetCapacity(Capacity() + 16).
  void Grow();
  // n < 0 fails. Growing fills the new records with zero bytes (capacity is
  // raised to exactly n if needed). Shrinking calls ReleaseItem for records n ..
  // Count()-1; an exception from one such call is swallowed and the others are
  // still released.
  void SetCount(std::int32_t n);

  // Searches a record equal to `key` under GetCompareFunction().
  // Unsorted: linear from 0, Compare(key, record); true with the first equal
  // index, or false with index = Count().
  // Sorted: binary search, Compare(record, key); true with the index found, or
  // false with the index at which the key would be inserted to keep the order.
  bool Find(const void* key, std::int32_t& index) const;

  // Copies ItemSize() bytes from `item` into a new record at `index` (0 ..
  // Count(); Count() appends). Other indexes fail with
  // "O índice (%d) está fora dos limites (0 a %d)" showing index and Count().
  // `item` may point into this list's own block (it is copied first).
  void Insert(std::int32_t index, const void* item);
  // Removes record `index` (0 .. Count()-1; otherwise the same message with
  // Count()-1 as the upper bound). ReleaseItem is called first; whatever it does
  // the record is removed, and an exception from it then reaches the caller.
  void Delete(std::int32_t index);
  // Delete(Count()-1) down to Delete(0); the block stays allocated.
  void DeleteAll();
  // DeleteAll, then frees the block (Capacity() becomes 0).
  void Clear();

  // The comparison Find uses. Base: the bytewise comparison over ItemSize()
  // bytes (BytewiseComparer); ItemSize() 0 fails with
  // "O tamanho do dado deve ser maior que zero".
  virtual const TLxRecordComparer& GetCompareFunction() const;

  // Stream form: the record count as a signed 32-bit little-endian number,
  // then Count() * ItemSize() bytes, the records exactly as they lie in memory.
  // No header, version or record size: reader and writer must agree on
  // ItemSize(). An empty list writes exactly 4 zero bytes.
  virtual void SaveToStream(TLxStream& stream) const;
  // Clear, then reads the stream form. A short stream raises the stream's read
  // error and leaves the list empty. A negative count fails with
  // "Número de registros inválido no fluxo: %d" (an ELxStreamError).
  virtual void LoadFromStream(TLxStream& stream);

 protected:
  // Called for each record that leaves the list, before its bytes are
  // overwritten. Base: nothing.
  virtual void ReleaseItem(void* item);
  // Set by subclasses whose records stay in ascending order (Find then uses
  // binary search). False in the base class.
  void SetSorted(bool sorted) { sorted_ = sorted; }
  // Clear for destructors: an exception from ReleaseItem goes to the
  // destruction error handler instead of escaping.
  //   ~TMyList() override { ClearForDestruction(); }
  void ClearForDestruction() noexcept;

 private:
  void CheckIndex(std::int32_t index, std::int32_t upperBound) const;
  std::byte* Record(std::int32_t index) const { return data_.get() + static_cast<std::ptrdiff_t>(index) * itemSize_; }

  std::int16_t itemSize_;
  std::unique_ptr<std::byte[]> data_;
  std::int32_t count_ = 0;
  std::int32_t capacity_ = 0;
  bool sorted_ = false;
};

// Where TLxCustomList's destructor reports an exception it had to swallow. The
// window layer sets one that shows the program's standard error box; the
// default writes "Erro ao liberar lista: <message>" to standard error.
using TLxDestructionErrorHandler = void (*)(const std::exception& error);
void SetListDestructionErrorHandler(TLxDestructionErrorHandler handler);

// The comparison of two items for SortItems: negative, zero or positive.
using TLxItemCompare = std::int32_t (*)(void* item1, void* item2);

// Sorts in place `count` pointer-sized items (object references) with the
// quicksort below; nothing happens when count < 2. Not stable.
//   Range L..R (first 0..count-1): I = L, J = R, pivot = item (L+R)/2 taken
//   before any exchange; advance I while compare(item I, pivot) < 0, retreat J
//   while compare(item J, pivot) > 0; if I <= J exchange them, I++, J--; repeat
//   while I <= J; sort L..J if L < J; then L = I and repeat while I < R.
// An inconsistent comparison never takes I or J outside L..R.
// Example: nodes by document number
//   SortItems(reinterpret_cast<void**>(nodes.data()), n,
//             [](void* a, void* b) { return Number(a) - Number(b); });
void SortItems(void** items, std::int32_t count, TLxItemCompare compare);

// The same quicksort over an array of any copyable items, with any callable
// `compare(const T&, const T&) -> int`. Kept in the header so that a lambda
// with captures inlines.
template <typename T, typename Compare>
void SortItems(T* items, std::int32_t count, Compare compare) {
  if (items == nullptr || count < 2) return;
  struct Sorter {
    T* items;
    Compare& compare;
    void Sort(std::int32_t l, std::int32_t r) {
      std::int32_t i;
      do {
        i = l;
        std::int32_t j = r;
        const T pivot = items[l + (r - l) / 2];
        do {
          while (i < r && compare(items[i], pivot) < 0) ++i;
          while (j > l && compare(items[j], pivot) > 0) --j;
          if (i <= j) {
            if (i != j) {
              T swapped = items[i];
              items[i] = items[j];
              items[j] = swapped;
            }
            ++i;
            --j;
          }
        } while (i <= j);
        if (l < j) Sort(l, j);
        l = i;
      } while (i < r);
    }
  };
  Sorter{items, compare}.Sort(0, count - 1);
}
