// pandecta-tool text DATA ID
//
// Writes the plain text of entry ID's document exactly as the word index
// takes it (Windows-1252 bytes, CR LF line breaks) to standard output.

#include <cstdio>
#include <string>
#include <vector>

#include "DocumentText.h"
#include "LxExcept.h"
#include "TOMOTree.h"
#include "ToolCollection.h"
#include "ToolCommand.h"

namespace {

std::int32_t ParseEntryId(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
    throw EToolUsage{"Código de entrada inválido: " + text};
  }
  return std::stoi(text);
}

const TTOMORecordH& TextEntry(const TTOMOTree& tree, std::int32_t id) {
  const TTOMONode* node = tree.FindNode(id);
  if (!node) throw ELxException(FormatMessage("Entrada %d não encontrada.", id));
  if (node->Record().Kind != kKindRichText || node->Record().DocumentNumber == 0) {
    throw ELxException(FormatMessage("A entrada %d não tem documento de texto.", id));
  }
  return node->Record();
}

int RunText(const std::vector<std::string>& arguments) {
  if (arguments.size() != 2) throw EToolUsage{"Informe a pasta de dados e o código da entrada."};
  TToolCollection base(arguments[0]);
  const TTOMORecordH& entry = TextEntry(base.Tree(), ParseEntryId(arguments[1]));
  const std::string text = ReadDocumentText(base.Documents(), entry.DocumentNumber);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return 1;
  return std::fflush(stdout) == 0 ? 0 : 1;
}

const bool registered = RegisterToolCommand({"text", "text DATA ID", RunText});

}  // namespace
