#pragma once

#include <memory>
#include <string>

#include "TOMORecord.h"

class TLxFileStream;

// Reads the records of a base's index file, one per step.
//
//   TTOMOFileIterator records(dataFolder);
//   for (; !records.Eof(); records.Next()) use(records.Current());
//
// Opening first completes a commit that was cut short (a "TOMOIdx.new" with a
// valid signature replaces "TOMOIdx.dat"), then checks the signature. A wrong
// first line raises ETOMOFileError "Formato de arquivo inválido para <path>";
// a missing or unreadable file raises the platform's ELxInOutError. A date
// item that is not a date raises the date parser's error from Next.
class TTOMOFileIterator {
 public:
  explicit TTOMOFileIterator(const std::string& folder);
  ~TTOMOFileIterator();
  TTOMOFileIterator(const TTOMOFileIterator&) = delete;
  TTOMOFileIterator& operator=(const TTOMOFileIterator&) = delete;

  // The record just read; overwritten by each step.
  const TTOMORecordH& Current() const { return current_; }
  TTOMORecordH& Current() { return current_; }
  // Reads the next record line, skipping every other line.
  void Next();
  // True when the last step found no further record.
  bool Eof() const { return eof_; }

  // Full path of the index file being read.
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
  std::unique_ptr<TLxFileStream> file_;
  TTOMORecordH current_;
  std::string line_;
  bool eof_ = true;
};
