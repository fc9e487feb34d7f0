#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reproducible random numbers for generated bases: the same seed gives the
// same base on every machine (the standard library's distributions do not
// promise that).
class TSyntheticRandom {
 public:
  explicit TSyntheticRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next();
  // 0 .. bound-1 (bound > 0).
  std::uint32_t Below(std::uint32_t bound) { return static_cast<std::uint32_t>(Next() % bound); }
  // [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  // true with the given probability.
  bool Chance(double probability) { return Uniform() < probability; }
  // A normally distributed value (Box-Muller).
  double Normal(double mean, double deviation);

 private:
  std::uint64_t state_;
};

// Portuguese-like text of a legal bulletin, in Windows-1252: real function
// words and legal terms at the top of a Zipfian vocabulary, made-up words of
// Portuguese syllables in its long tail.
class TSyntheticText {
 public:
  TSyntheticText();

  // One word drawn with Zipfian frequency.
  const std::string& Word(TSyntheticRandom& random) const;
  // A sentence of `words` words, capitalised, ending with a full stop.
  std::string Sentence(TSyntheticRandom& random, int words) const;

  // Titles of documents ("Decreto nº 12.345, de 3 de março de 2004") and of
  // folders ("Legislação Estadual").
  std::string DocumentTitle(TSyntheticRandom& random) const;
  std::string FolderTitle(TSyntheticRandom& random) const;
  // Month names of the titles, 1 .. 12.
  const std::string& MonthName(int month) const { return months_.at(static_cast<size_t>(month - 1)); }

 private:
  std::vector<std::string> words_;
  std::vector<double> cumulativeWeights_;
  std::vector<std::string> documentKinds_;
  std::vector<std::string> folderTitles_;
  std::vector<std::string> months_;
};
