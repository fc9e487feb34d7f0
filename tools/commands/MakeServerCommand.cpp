// pandecta-tool make-server DATA OUT
//
// The update server's layout of the base in DATA, for any static web server
// to serve under the program's UpdateURL:
//   OUT/tomoidxz.dat              the tree file, one zlib block
//   OUT/doc01200/doc01234.dat     every document file, byte for byte
// Names are lower case, exactly as the program requests them. The tree file
// is written last and renamed into place, so a layout refreshed while it is
// served never lists a document that is not there yet. Prints
// "<documents> documento(s), <bytes> bytes".

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "DocumentFileName.h"
#include "FileReplace.h"
#include "LxFileStream.h"
#include "LxFilUtl.h"
#include "LxZLIBStream.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "ToolCollection.h"
#include "ToolCommand.h"
#include "InternetUpdate.h"

namespace {

constexpr char kTempSuffix[] = ".tmp";
constexpr std::int32_t kCopyChunkBytes = 64 * 1024;

// The document's place in the layout, as the program asks for it.
std::string ServerFileName(const std::string& out, std::int32_t number) {
  const std::string relative = TInternetUpdate::LowerCaseURL(DocumentFileName("", number));
  return PathJoin(out, relative);
}

void CompressTreeFile(const std::string& data, const std::string& out) {
  const std::string treeFile = FindFileIgnoringCase(data, kIndexFileName);
  const std::string target = PathJoin(out, kCompressedIndexFileName);
  const std::string temporary = target + kTempSuffix;
  {
    TLxFileStream source(treeFile, TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
    TLxFileStream file(temporary, TLxFileMode::Create);
    TLxZLIBStream block(file);
    std::vector<char> buffer(kCopyChunkBytes);
    std::int32_t count;
    while ((count = source.Read(buffer.data(), kCopyChunkBytes)) > 0) block.Write(buffer.data(), count);
    block.Finish();
    file.Close();
  }
  if (!RenameFileQuietly(temporary, target)) {
    throw ELxException(FormatMessage("Erro ao copiar arquivo \"%s\" para \"%s\". ", temporary.c_str(), target.c_str()));
  }
}

int RunMakeServer(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"Informe a pasta de dados e a pasta de saída."};
  const std::string& data = arguments[0];
  const std::string& out = arguments[1];
  TToolCollection base(data);
  ForceDirectories(out);
  int documents = 0;
  std::int64_t bytes = 0;
  for (auto it = base.Tree().Iterator(); !it.Eof(); it.Next()) {
    const std::int32_t number = it.Current()->Record().DocumentNumber;
    // 0 is a folder without document; negative numbers name no file.
    if (number <= 0) continue;
    const std::string source = DocumentFileName(data, number);
    if (!FileExists(source)) {
      throw ELxException(FormatMessage("Documento %d não encontrado: %s", number, source.c_str()));
    }
    const std::string target = ServerFileName(out, number);
    ForceDirectories(std::filesystem::path(target).parent_path().string());
    CopyFile(source, target);
    bytes += static_cast<std::int64_t>(std::filesystem::file_size(target));
    ++documents;
  }
  CompressTreeFile(data, out);
  std::printf("%d documento(s), %lld bytes\n", documents, static_cast<long long>(bytes));
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand({"make-server", "make-server DATA OUT", RunMakeServer});

}  // namespace
