#pragma once

// Unit LxMap: the program's standard index of objects by number, a sorted map
// from signed 32-bit keys to pointer-sized values.

#include <cstdint>

#include "LxList.h"

// One record of TLxIntegerToIntegerMap, as it lies in the list's block.
// Values are pointer-sized so that a map can hold an object reference. Where
// pointers take 8 bytes the record is key, 4 reserved bytes (always zero),
// value: 16 bytes; where they take 4 it is the classic 8-byte key, value.
struct TLxIntegerMapRecord {
  std::int32_t Key;
#if INTPTR_MAX > INT32_MAX
  std::int32_t Reserved;  // keeps Value aligned; always 0 so records compare and stream alike
#endif
  std::intptr_t Value;
};

// Sorted map: key -> value, keys in ascending signed order (index 0 holds the
// smallest key). A value of 0 means "no entry": the map never stores 0.
// The map does not own what its values refer to.
//
//   TLxIntegerToIntegerMap nodes;
//   nodes.Put(42, node);                  // object reference as value
//   TTOMONode* n = nodes.GetAs<TTOMONode>(42);
//   nodes.Put(42, 0);                     // removes the entry
//   nodes.Get(7);                         // 0: no entry
// Keys -5, 3, 0 put in any order read back from index 0 as -5, 0, 3.
class TLxIntegerToIntegerMap : public TLxCustomList {
 public:
  // A list of TLxIntegerMapRecord, Sorted.
  TLxIntegerToIntegerMap();

  // The value stored for key, or 0 when there is none.
  std::intptr_t Get(std::int32_t key) const;
  template <typename T>
  T* GetAs(std::int32_t key) const {
    return reinterpret_cast<T*>(Get(key));
  }

  // Key present: a non-zero value replaces the stored one, 0 deletes the entry.
  // Key absent: a non-zero value is inserted in key order; 0 does nothing.
  void Put(std::int32_t key, std::intptr_t value);
  template <typename T>
  void Put(std::int32_t key, T* object) {
    Put(key, reinterpret_cast<std::intptr_t>(object));
  }

  // Entry `index` in key order (0 .. Count()-1; otherwise the assertion failure
  // "O índice (%d) está fora dos limites (0 a %d)").
  std::int32_t Keys(std::int32_t index) const;
  std::intptr_t Values(std::int32_t index) const;

  // Compares keys as signed 32-bit integers (negative, zero or positive; no
  // overflow at the extremes of the range).
  const TLxRecordComparer& GetCompareFunction() const override;
};
