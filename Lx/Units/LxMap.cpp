#include "LxMap.h"

#include <cstring>

namespace {

class TKeyComparer final : public TLxRecordComparer {
 public:
  std::int32_t Compare(const void* first, const void* second) const override {
    std::int32_t a;
    std::int32_t b;
    std::memcpy(&a, first, sizeof a);  // the key opens the record
    std::memcpy(&b, second, sizeof b);
    // Not a - b: that overflows for keys of opposite sign at the range's ends.
    return a < b ? -1 : (a > b ? 1 : 0);
  }
};

const TKeyComparer keyComparer;

TLxIntegerMapRecord MakeRecord(std::int32_t key, std::intptr_t value) {
  TLxIntegerMapRecord record;
  std::memset(&record, 0, sizeof record);  // padding and reserved bytes are always zero
  record.Key = key;
  record.Value = value;
  return record;
}

}  // namespace

TLxIntegerToIntegerMap::TLxIntegerToIntegerMap() : TLxCustomList(sizeof(TLxIntegerMapRecord)) { SetSorted(true); }

const TLxRecordComparer& TLxIntegerToIntegerMap::GetCompareFunction() const { return keyComparer; }

std::intptr_t TLxIntegerToIntegerMap::Get(std::int32_t key) const {
  const TLxIntegerMapRecord probe = MakeRecord(key, 0);
  std::int32_t index;
  if (!Find(&probe, index)) return 0;
  return static_cast<const TLxIntegerMapRecord*>(Items(index))->Value;
}

void TLxIntegerToIntegerMap::Put(std::int32_t key, std::intptr_t value) {
  const TLxIntegerMapRecord record = MakeRecord(key, value);
  std::int32_t index;
  if (Find(&record, index)) {
    if (value != 0) {
      static_cast<TLxIntegerMapRecord*>(Items(index))->Value = value;
    } else {
      Delete(index);
    }
  } else if (value != 0) {
    Insert(index, &record);
  }
}

std::int32_t TLxIntegerToIntegerMap::Keys(std::int32_t index) const {
  return static_cast<const TLxIntegerMapRecord*>(Items(index))->Key;
}

std::intptr_t TLxIntegerToIntegerMap::Values(std::int32_t index) const {
  return static_cast<const TLxIntegerMapRecord*>(Items(index))->Value;
}
