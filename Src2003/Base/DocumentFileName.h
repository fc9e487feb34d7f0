#pragma once

#include <cstdint>
#include <string>

// Where document `number` lies in a data folder: a volume folder per hundred
// documents, then the file, both numbered in at least five digits:
//   DocumentFileName("Dados", 1234)   gives "Dados/Doc01200/Doc01234.dat"
//   DocumentFileName("Dados", 5)      gives "Dados/Doc00000/Doc00005.dat"
//   DocumentFileName("Dados", 123456) gives "Dados/Doc123400/Doc123456.dat"
std::string DocumentFileName(const std::string& folder, std::int32_t number);
