#include "BuildBaseWriter.h"

#include <filesystem>

#include "BuildBaseError.h"
#include "DocumentFileName.h"
#include "LxCodePage.h"
#include "LxStrm.h"
#include "TOMODocumentBody.h"
#include "TOMODocumentFile.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"

namespace fs = std::filesystem;

namespace {

// Beside the data folder: the base being built, and the old one while the
// new one takes its name.
constexpr const char* kScratchSuffix = ".novo";
constexpr const char* kRetiredSuffix = ".antigo";
// Lines between "Hyperlinks" and the empty line before the links are skipped
// by readers; this one tells a person what the columns are.
constexpr const char* kHyperlinkColumnsComment = "; versão, linha, posição, tamanho, entrada, endereço";

std::vector<TBodyLink> BodyLinks(const std::vector<TPlannedLink>& planned) {
  std::vector<TBodyLink> links;
  links.reserve(planned.size());
  for (const TPlannedLink& link : planned) links.push_back({link.Version == TLinkVersion::V1, link.Record});
  return links;
}

// Writes one document file and returns its size.
std::int32_t WriteDocument(const std::string& folder, const TPlannedDocument& planned) {
  TTOMODocumentFile document(DocumentFileName(folder, planned.Number), true);
  document.SetProperty(DocumentDateProperty(), DateTimeToStr(planned.Date));
  WriteDocumentBody(document.OpenWrite(), planned.Date, planned.Content, BodyLinks(planned.Links),
                    Utf8ToWin1252(kHyperlinkColumnsComment));
  document.CloseDocument();
  return document.GetFileSize();
}

fs::path WithSuffix(const fs::path& folder, const char* suffix) {
  fs::path result = folder;
  result += suffix;
  return result;
}

bool IsEmptyFolder(const fs::path& folder) { return fs::is_directory(folder) && fs::is_empty(folder); }

void CheckReplaceable(const fs::path& data) {
  std::error_code error;
  if (!fs::exists(data, error)) return;
  if (!fs::is_directory(data, error)) {
    throw EBuildBaseError(FormatMessage("%s existe e não é uma pasta", data.string().c_str()));
  }
  if (!IsEmptyFolder(data) && !HasIndexSignature(IndexFilePath(data.string(), kIndexFileName))) {
    throw EBuildBaseError(FormatMessage("A pasta %s não está vazia e não é uma base de documentos; "
                                        "escolha uma pasta nova ou vazia",
                                        data.string().c_str()));
  }
}

// Puts the finished scratch folder in the place of the data folder. The old
// base is renamed away first and comes back if the new one cannot move in.
void SwapIntoPlace(const fs::path& scratch, const fs::path& data) {
  const fs::path retired = WithSuffix(data, kRetiredSuffix);
  fs::remove_all(retired);
  const bool hadBase = fs::exists(data);
  if (hadBase) fs::rename(data, retired);
  try {
    fs::rename(scratch, data);
  } catch (...) {
    if (hadBase) fs::rename(retired, data);
    throw;
  }
  std::error_code ignored;  // the new base is in place; a leftover old one is only clutter
  fs::remove_all(retired, ignored);
}

}  // namespace

void WriteBase(const TBasePlan& plan, const std::string& folder) {
  std::vector<TTOMORecordH> records = plan.Records;  // records[i].Id == i, as the plan numbers them
  for (const TPlannedDocument& document : plan.Documents) {
    records[static_cast<size_t>(document.EntryId)].DocumentSize = WriteDocument(folder, document);
  }
  TTOMOTree tree;
  for (TTOMORecordH& record : records) tree.AddNode(std::move(record));
  tree.SaveToFile(folder);
}

void InstallBase(const TBasePlan& plan, const std::string& dataFolder) {
  const fs::path data = fs::absolute(fs::path(dataFolder)).lexically_normal();
  const fs::path target = data.has_filename() ? data : data.parent_path();
  CheckReplaceable(target);
  const fs::path scratch = WithSuffix(target, kScratchSuffix);
  try {
    fs::remove_all(scratch);  // left by a build that was cut short
    fs::create_directories(scratch);
    WriteBase(plan, scratch.string());
    SwapIntoPlace(scratch, target);
  } catch (const fs::filesystem_error& error) {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    throw EBuildBaseError(FormatMessage("Não foi possível gravar a base em %s: %s", target.string().c_str(),
                                        error.what()));
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(scratch, ignored);
    throw;
  }
}
