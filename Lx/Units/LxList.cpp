#include "LxList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

#include "LxExcept.h"
#include "LxMap.h"
#include "LxLittleEndian.h"

namespace {

constexpr const char* kUnitName = "LxList";
[[noreturn]] void Fail(const std::string& message) { throw ELxAssertionFailed(message, kUnitName); }

void DefaultDestructionErrorHandler(const std::exception& error) {
  std::fprintf(stderr, "Erro ao liberar lista: %s\n", error.what());
}

TLxDestructionErrorHandler destructionErrorHandler = DefaultDestructionErrorHandler;

class TBytewiseComparer final : public TLxRecordComparer {
 public:
  explicit TBytewiseComparer(std::size_t size) : size_(size) {}
  std::int32_t Compare(const void* first, const void* second) const override {
    const auto* a = static_cast<const unsigned char*>(first);
    const auto* b = static_cast<const unsigned char*>(second);
    for (std::size_t i = 0; i < size_; ++i) {
      if (a[i] != b[i]) return static_cast<std::int32_t>(a[i]) - static_cast<std::int32_t>(b[i]);
    }
    return 0;
  }

 private:
  std::size_t size_;
};

// The process-wide registry of bytewise comparers, one per record size, kept in
// a map from size to comparer as the rest of the program keeps objects by
// number. The comparers live until the program ends (lists of static storage
// may still compare during shutdown, so they are deliberately never freed
// before the registry itself goes).
class TComparerRegistry {
 public:
  ~TComparerRegistry() {
    for (std::int32_t i = 0; i < bySize_.Count(); ++i) {
      delete reinterpret_cast<TBytewiseComparer*>(bySize_.Values(i));
    }
    bySize_.DeleteAll();
  }

  const TLxRecordComparer& For(std::int32_t size) {
    std::lock_guard<std::mutex> guard(mutex_);
    if (auto* known = bySize_.GetAs<TBytewiseComparer>(size)) return *known;
    auto made = std::make_unique<TBytewiseComparer>(static_cast<std::size_t>(size));
    bySize_.Put(size, made.get());
    return *made.release();
  }

 private:
  std::mutex mutex_;
  TLxIntegerToIntegerMap bySize_;
};

TComparerRegistry& Registry() {
  static TComparerRegistry registry;
  return registry;
}

}  // namespace

const TLxRecordComparer& BytewiseComparer(std::int32_t size) {
  if (size <= 0) Fail("O tamanho do dado deve ser maior que zero");
  return Registry().For(size);
}

void SetListDestructionErrorHandler(TLxDestructionErrorHandler handler) {
  destructionErrorHandler = handler != nullptr ? handler : DefaultDestructionErrorHandler;
}

TLxCustomList::TLxCustomList(std::int32_t itemSize) : itemSize_(0) {
  if (itemSize < 0) Fail("O tamanho do dado deve ser maior ou igual a zero");
  if (itemSize > kMaxItemSize) Fail("O tamanho do dado deve ser no máximo 32767");
  itemSize_ = static_cast<std::int16_t>(itemSize);
}

TLxCustomList::~TLxCustomList() {
  ClearForDestruction();
  // Whatever Clear managed, the block goes with the object (data_ frees it).
}

void TLxCustomList::ClearForDestruction() noexcept {
  // DeleteAll stops at the first failing release; keep going so that every
  // record is released once.
  while (data_) {
    try {
      Clear();
    } catch (const std::exception& error) {
      destructionErrorHandler(error);
    } catch (...) {
      destructionErrorHandler(ELxException("Erro desconhecido ao liberar um registro"));
    }
  }
}

void TLxCustomList::CheckIndex(std::int32_t index, std::int32_t upperBound) const {
  if (index < 0 || index > upperBound) {
    Fail(FormatMessage("O índice (%d) está fora dos limites (0 a %d)", index, upperBound));
  }
}

void* TLxCustomList::Items(std::int32_t index) {
  CheckIndex(index, count_ - 1);
  return Record(index);
}

const void* TLxCustomList::Items(std::int32_t index) const {
  CheckIndex(index, count_ - 1);
  return Record(index);
}

void TLxCustomList::SetCapacity(std::int32_t n) {
  if (n < count_) n = count_;
  if (n == capacity_) return;
  std::unique_ptr<std::byte[]> block;
  const std::size_t bytes = static_cast<std::size_t>(n) * static_cast<std::size_t>(itemSize_);
  if (n > 0) {
    // Allocation failure throws std::bad_alloc and leaves the old block in place.
    block.reset(new std::byte[bytes > 0 ? bytes : 1]);
    if (count_ > 0 && itemSize_ > 0) {
      std::memcpy(block.get(), data_.get(), static_cast<std::size_t>(count_) * static_cast<std::size_t>(itemSize_));
    }
  }
  data_ = std::move(block);
  capacity_ = n;
}

void TLxCustomList::Grow() {
  if (capacity_ > INT32_MAX - kGrowthStep) Fail("A lista não pode crescer mais");
  SetCapacity(capacity_ + kGrowthStep);
}

void TLxCustomList::SetCount(std::int32_t n) {
  if (n < 0) Fail(FormatMessage("O número de registros (%d) deve ser maior ou igual a zero", n));
  if (n > count_) {
    if (capacity_ < n) SetCapacity(n);
    std::memset(Record(count_), 0, static_cast<std::size_t>(n - count_) * static_cast<std::size_t>(itemSize_));
  } else {
    for (std::int32_t i = n; i < count_; ++i) {
      try {
        ReleaseItem(Record(i));
      } catch (...) {
        // Shrinking releases every record; one failure must not leak the rest.
      }
    }
  }
  count_ = n;
}

bool TLxCustomList::Find(const void* key, std::int32_t& index) const {
  const TLxRecordComparer& comparer = GetCompareFunction();
  if (!sorted_) {
    for (std::int32_t i = 0; i < count_; ++i) {
      if (comparer.Compare(key, Record(i)) == 0) {
        index = i;
        return true;
      }
    }
    index = count_;
    return false;
  }
  // Invariant: records before lo sort before the key, records from hi on after it.
  std::int32_t lo = 0;
  std::int32_t hi = count_;
  while (lo < hi) {
    const std::int32_t mid = lo + (hi - lo) / 2;
    const std::int32_t order = comparer.Compare(Record(mid), key);
    if (order == 0) {
      index = mid;
      return true;
    }
    if (order < 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  index = lo;
  return false;
}

void TLxCustomList::Insert(std::int32_t index, const void* item) {
  CheckIndex(index, count_);
  // A record of this very list would move (or vanish with the old block)
  // before it is copied in: take a copy first.
  std::vector<std::byte> ownRecord;
  const auto* itemBytes = static_cast<const std::byte*>(item);
  if (data_ && itemBytes >= data_.get() &&
      itemBytes < data_.get() + static_cast<std::ptrdiff_t>(capacity_) * itemSize_) {
    ownRecord.assign(itemBytes, itemBytes + itemSize_);
    item = ownRecord.data();
  }
  if (count_ == capacity_) Grow();
  std::byte* slot = Record(index);
  const std::size_t size = static_cast<std::size_t>(itemSize_);
  if (index < count_) std::memmove(slot + size, slot, static_cast<std::size_t>(count_ - index) * size);
  ++count_;
  if (size > 0) std::memcpy(slot, item, size);
}

void TLxCustomList::Delete(std::int32_t index) {
  CheckIndex(index, count_ - 1);
  std::exception_ptr releaseError;
  try {
    ReleaseItem(Record(index));
  } catch (...) {
    releaseError = std::current_exception();
  }
  --count_;
  if (index < count_) {
    const std::size_t size = static_cast<std::size_t>(itemSize_);
    std::memmove(Record(index), Record(index + 1), static_cast<std::size_t>(count_ - index) * size);
  }
  if (releaseError) std::rethrow_exception(releaseError);
}

void TLxCustomList::DeleteAll() {
  for (std::int32_t i = count_ - 1; i >= 0; --i) Delete(i);
}

void TLxCustomList::Clear() {
  if (!data_) return;
  DeleteAll();
  data_.reset();
  capacity_ = 0;
}

const TLxRecordComparer& TLxCustomList::GetCompareFunction() const { return BytewiseComparer(itemSize_); }

void TLxCustomList::ReleaseItem(void* /*item*/) {}

void TLxCustomList::SaveToStream(TLxStream& stream) const {
  WriteLittleEndian32(stream, count_);
  const std::int64_t bytes = static_cast<std::int64_t>(count_) * itemSize_;
  if (bytes > INT32_MAX) throw ELxWriteError();
  if (bytes > 0) stream.WriteBuffer(data_.get(), static_cast<std::int32_t>(bytes));
}

void TLxCustomList::LoadFromStream(TLxStream& stream) {
  Clear();
  const std::int32_t count = ReadLittleEndian32(stream);
  if (count < 0) throw ELxStreamError(FormatMessage("Número de registros inválido no fluxo: %d", count));
  const std::int64_t bytes = static_cast<std::int64_t>(count) * itemSize_;
  if (bytes > INT32_MAX) throw ELxReadError();
  try {
    // Read in bounded steps, so that a hostile count cannot make us allocate
    // far more memory than the stream actually holds.
    constexpr std::int64_t kStepBytes = 1 << 20;
    const std::int32_t recordsPerStep =
        itemSize_ > 0 ? static_cast<std::int32_t>(std::max<std::int64_t>(1, kStepBytes / itemSize_)) : count;
    std::int32_t loaded = 0;
    while (loaded < count) {
      const std::int32_t step = std::min(recordsPerStep, count - loaded);
      // Grow geometrically while loading, so that the stepping costs no
      // quadratic copying; the block ends exactly `count` records long.
      if (capacity_ < loaded + step) {
        SetCapacity(static_cast<std::int32_t>(
            std::min<std::int64_t>(count, std::max<std::int64_t>(loaded + step, 2LL * capacity_))));
      }
      SetCount(loaded + step);
      if (itemSize_ > 0) stream.ReadBuffer(Record(loaded), step * itemSize_);
      loaded += step;
    }
  } catch (...) {
    Clear();
    throw;
  }
}

void SortItems(void** items, std::int32_t count, TLxItemCompare compare) {
  if (compare == nullptr) Fail("A função de comparação não pode ser nula");
  SortItems<void*>(items, count, [compare](void* item1, void* item2) { return compare(item1, item2); });
}
