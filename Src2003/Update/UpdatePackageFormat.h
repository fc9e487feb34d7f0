#pragma once

// The update package: one or more volume files that the publisher ships and
// offices apply without Internet. Every text is Windows-1252.
//
//   TOMO.Atualização              signature line
//   Seqüência: 1                  the volume's number, 1 for the first
//   Tamanho Total: 183211         first volume: payload bytes of all volumes
//   Título: Atualização de maio   first volume: shown in the log and the prompt
//   Identificador: 2026-05        first volume: shown in the log
//                                 empty line
//   <payload>                     the rest of the file
//
// The payloads of volumes 1, 2, ... joined are one zlib block (TLxZLIBStream)
// that expands to: a 32-bit length N and N bytes of the new tree file, then
// document records up to the end, each
//   DocumentNumber (32-bit LE), header lines up to an empty line (the
//   document's properties), body length L (32-bit LE), L bytes of plain body.
//
// Everything read here comes from outside and is checked: lines are bounded,
// numbers must be decimal and in range, lengths must fit in what is left.

#include <cstdint>
#include <string>
#include <string_view>

#include "LxExcept.h"
#include "LxText.h"

class TLxStream;

// A package that is not what it claims to be. The message says what is wrong
// ("Formato de arquivo inválido", "Pacote de atualização danificado: ...").
class EUpdatePackageError : public ELxException {
 public:
  explicit EUpdatePackageError(std::string message) : ELxException(std::move(message), "EUpdatePackageError") {}
};

// Names in the package, in Windows-1252.
const std::string& PackageSignature();       // "TOMO.Atualização"
const std::string& PackageSequenceName();    // "Seqüência"
const std::string& PackageTotalSizeName();   // "Tamanho Total"
const std::string& PackageTitleName();       // "Título"
const std::string& PackageIdName();          // "Identificador"

// The file name of a volume when the publisher gives none.
inline constexpr char kDefaultVolumeName[] = "atualizacao.dat";

// Limits on what a package may claim, so that a damaged or hostile one is
// refused before it costs memory.
inline constexpr std::int32_t kMaxHeaderLineBytes = 64 * 1024;
inline constexpr std::int32_t kMaxHeaderLines = 1024;

// Reads lines into `lines` (cleared first) up to an empty line or the end of
// the stream, dropping CR; a line longer than kMaxHeaderLineBytes or more than
// kMaxHeaderLines lines raise EUpdatePackageError.
void ReadPackageHeader(TLxStream& stream, TLxStringList& lines);

// The value of header line `name` as a decimal integer, 0 <= value <=
// INT32_MAX. Missing or not a number: EUpdatePackageError naming the line.
std::int32_t PackageHeaderNumber(const TLxStringList& lines, std::string_view name);

// True when `line` is the signature (case-blind).
bool IsPackageSignature(std::string_view line);

// A length read from the joined payload (tree file or document body): raises
// EUpdatePackageError unless 0 <= length <= bytes left.
void CheckPackageLength(std::int32_t length, std::int32_t bytesLeft);

// A document number from the package or its tree: negative numbers name no
// document file.
bool IsValidDocumentNumber(std::int32_t number);
