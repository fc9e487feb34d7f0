#include "BuildBaseWriter.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "BuildBaseError.h"
#include "DocumentFileName.h"
#include "LxCodePage.h"
#include "LxFilUtl.h"
#include "LxFileOperations.h"
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

[[noreturn]] void RaiseFileError(const char* what, const fs::path& path) {
  const int code = errno;
  throw fs::filesystem_error(what, path, std::error_code(code, std::generic_category()));
}

void RenameOrRaise(const fs::path& from, const fs::path& to) {
  if (FileOperations().Rename(from.c_str(), to.c_str()) != 0) RaiseFileError("rename", from);
}

// True when the file system cannot trade two names in one step (network
// shares, old kernels): the swap then takes two renames.
bool ExchangeUnsupported(int code) { return code == EINVAL || code == ENOSYS || code == EOPNOTSUPP; }

// Puts the finished scratch folder in the place of the data folder. Where the
// file system allows, the two folders trade names in one step, so that the
// data folder always holds a whole base, the old or the new. Elsewhere the
// old base is renamed away first; a cut between the two renames is finished
// by FinishInterruptedInstall.
void SwapIntoPlace(const fs::path& scratch, const fs::path& data) {
  if (!fs::exists(data)) {
    RenameOrRaise(scratch, data);
    return;
  }
  if (FileOperations().Exchange(scratch.c_str(), data.c_str()) == 0) {
    RemoveTreeQuietly(scratch.string());  // the old base, under the scratch name now
    return;
  }
  if (!ExchangeUnsupported(errno)) RaiseFileError("renameat2", data);
  const fs::path retired = WithSuffix(data, kRetiredSuffix);
  if (!RemoveTreeQuietly(retired.string())) RaiseFileError("remove", retired);
  RenameOrRaise(data, retired);
  if (FileOperations().Rename(scratch.c_str(), data.c_str()) != 0) {
    const int code = errno;
    FileOperations().Rename(retired.c_str(), data.c_str());
    errno = code;
    RaiseFileError("rename", scratch);
  }
  RemoveTreeQuietly(retired.string());  // the new base is in place; a leftover old one is only clutter
}

// After a failed build: the scratch folder goes, unless it holds the only
// copy of the new base while the old one is renamed away (a swap cut between
// its two renames), which FinishInterruptedInstall then puts in place.
void RemoveScratchUnlessNeeded(const fs::path& scratch, const fs::path& target) {
  std::error_code error;
  if (!fs::exists(target, error) && fs::exists(WithSuffix(target, kRetiredSuffix), error)) return;
  RemoveTreeQuietly(scratch.string());
}

}  // namespace

void FinishInterruptedInstall(const std::string& dataFolder) {
  const fs::path data = fs::absolute(fs::path(dataFolder)).lexically_normal();
  const fs::path target = data.has_filename() ? data : data.parent_path();
  const fs::path retired = WithSuffix(target, kRetiredSuffix);
  const fs::path scratch = WithSuffix(target, kScratchSuffix);
  std::error_code error;
  if (!fs::exists(retired, error)) return;
  if (!fs::exists(target, error)) {
    // The old base was renamed away and the new one had not yet moved in. The
    // scratch folder is renamed only once whole, so a base in it is complete.
    const bool newBaseReady = HasIndexSignature(IndexFilePath(scratch.string(), kIndexFileName));
    RenameOrRaise(newBaseReady ? scratch : retired, target);
  }
  // The old base, once the new one is in place.
  RemoveTreeQuietly(retired.string());
}

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
  try {
    FinishInterruptedInstall(target.string());
  } catch (const fs::filesystem_error& error) {
    throw EBuildBaseError(FormatMessage("Não foi possível recuperar a base em %s: %s", target.string().c_str(),
                                        error.what()));
  }
  CheckReplaceable(target);
  const fs::path scratch = WithSuffix(target, kScratchSuffix);
  try {
    // Left by a build that was cut short, or the old base of the last one.
    if (!RemoveTreeQuietly(scratch.string())) RaiseFileError("remove", scratch);
    ForceDirectories(scratch.string());
    WriteBase(plan, scratch.string());
    SwapIntoPlace(scratch, target);
  } catch (const fs::filesystem_error& error) {
    RemoveScratchUnlessNeeded(scratch, target);
    throw EBuildBaseError(FormatMessage("Não foi possível gravar a base em %s: %s", target.string().c_str(),
                                        error.what()));
  } catch (...) {
    RemoveScratchUnlessNeeded(scratch, target);
    throw;
  }
}
