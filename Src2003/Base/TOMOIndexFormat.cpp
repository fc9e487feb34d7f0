#include "TOMOIndexFormat.h"

#include <exception>

#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "LxFileStream.h"
#include "LxLineIO.h"
#include "LxText.h"

const std::string& IndexSignature() {
  static const std::string signature = Utf8ToWin1252("TOMO.Sumário");
  return signature;
}

const std::vector<std::string>& IndexCommentBlock() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> block;
    for (const char* line : {";--------------------------------------", "; Pandecta",
                             ";--------------------------------------", ";",
                             "; Atenção! Este arquivo é gerado e manipulado",
                             "; pelo Pandecta. Alterações inadequadas",
                             "; podem resultar em mal funcionamento do programa.", "; Não edite este arquivo.",
                             ";"}) {
      block.push_back(Utf8ToWin1252(line));
    }
    return block;
  }();
  return lines;
}

std::string IndexFilePath(const std::string& folder, const char* name) {
  return FindFileIgnoringCase(folder, name);
}

bool HasIndexSignature(const std::string& path) {
  if (!FileExists(path)) return false;
  try {
    TLxFileStream file(path, TLxFileMode::OpenRead);
    return LxSameText(LxTrim(ReadLine(file)), IndexSignature());
  } catch (const std::exception&) {
    return false;
  }
}
