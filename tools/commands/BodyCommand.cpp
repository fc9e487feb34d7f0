// pandecta-tool body DATA NUMBER
//
// Writes the decoded body of document NUMBER (the bytes its reader delivers:
// properties, content and links) unchanged to standard output.

#include <cstdio>
#include <string>
#include <vector>

#include "DocumentFileName.h"
#include "TOMODocumentFile.h"
#include "ToolCommand.h"

namespace {

constexpr std::int32_t kChunkSize = 64 * 1024;

std::int32_t ParseDocumentNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
    throw EToolUsage{"Número de documento inválido: " + text};
  }
  return std::stoi(text);
}

int RunBody(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"Informe a pasta de dados e o número do documento."};
  TTOMODocumentFile document(DocumentFileName(arguments[0], ParseDocumentNumber(arguments[1])), false);
  TLxStream& body = document.OpenRead();
  std::vector<char> chunk(kChunkSize);
  for (std::int32_t got; (got = body.Read(chunk.data(), kChunkSize)) > 0;) {
    if (std::fwrite(chunk.data(), 1, static_cast<size_t>(got), stdout) != static_cast<size_t>(got)) return 1;
  }
  document.CloseDocument();
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand({"body", "body DATA NUMBER", RunBody});

}  // namespace
