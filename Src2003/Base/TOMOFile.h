#pragma once

#include <memory>
#include <string>
#include <string_view>

class TLxFileStream;
struct TTOMORecordH;

// Writes a base's index file through its commit protocol:
//
//   TTOMOFile writer(dataFolder);      // TOMOIdx.tmp with signature and comments
//   writer.WriteLine(".0,-1,Raiz,,01/02/2003");
//   writer.Commit();                   // TOMOIdx.tmp -> .new -> TOMOIdx.dat
//
// The index is replaced only by Commit. A writer destroyed without it (an
// error while writing) removes its TOMOIdx.tmp and leaves the index as it
// was, so a half-written file never takes the place of a good one.
class TTOMOFile {
 public:
  // Creates the folder and its missing parents, then TOMOIdx.tmp (replacing
  // an old one). Raises ELxInOutError when either cannot be created.
  explicit TTOMOFile(const std::string& folder);
  ~TTOMOFile();
  TTOMOFile(const TTOMOFile&) = delete;
  TTOMOFile& operator=(const TTOMOFile&) = delete;

  // Writes one line and its CR LF.
  void WriteLine(std::string_view text);
  // Writes a record's line (AppendRecordLine) and its CR LF.
  void WriteRecordLine(const TTOMORecordH& record);

  // Closes TOMOIdx.tmp (raising if its bytes cannot be written), renames it to
  // TOMOIdx.new, deletes TOMOIdx.dat and renames TOMOIdx.new to TOMOIdx.dat.
  // If the temporary file cannot become TOMOIdx.new, ETOMOFileError is raised
  // and the index is left untouched; the later steps are completed by the next
  // reader if they fail.
  void Commit();

 private:
  // Lines collect here and go to the file a block at a time: an index of
  // 200,000 lines costs a few hundred writes instead of a call per line.
  static constexpr std::size_t kBlockBytes = 256 * 1024;
  void WriteBlockIfFull();
  void WriteBlock();

  std::string folder_;
  std::string tempFileName_;
  std::unique_ptr<TLxFileStream> file_;
  std::string block_;
};
