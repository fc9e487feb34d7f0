#include "PackageUpdate.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "ExpandIndexFile.h"
#include "HeaderLines.h"
#include "LxCodePage.h"
#include "LxFileStream.h"
#include "LxFilUtl.h"
#include "LxLittleEndian.h"
#include "LxZLIBStream.h"
#include "Prompts.h"
#include "InstalledCollection.h"
#include "TOMODocument.h"
#include "TOMODocumentSet.h"
#include "TOMOIndexFormat.h"
#include "TOMOTree.h"
#include "UpdatePackageFormat.h"

namespace {

constexpr char kInvalidFormat[] = "Formato de arquivo inválido";
constexpr char kDiskPrompt[] = "Insira o disco n° %d da atualização \"%s\".";
constexpr char kQuote = '"';

std::string Utf8(const std::string& win1252) { return Win1252ToUtf8(win1252); }

std::int32_t BytesLeft(TLxStream& stream) { return stream.Size() - stream.Position(); }

}  // namespace

TPackageUpdate::TPackageUpdate(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent)
    : TUpdateOperation(collection, wordIndex, parent) {}

TPackageUpdate::~TPackageUpdate() {
  installing_.reset();
  // The zlib layer reads from the package file: it goes first.
  inStream_.reset();
  packageFile_.reset();
}

std::string TPackageUpdate::PackagePathOfArgument(const std::string& argument) {
  if (argument.size() > 1 && argument.front() == kQuote && argument.back() == kQuote) {
    return argument.substr(1, argument.size() - 2);
  }
  return argument;
}

void TPackageUpdate::StartPackage(const std::string& argument) {
  SetUpdateKind(TUpdateKind::Package);
  ApplyFile(PackagePathOfArgument(argument));
}

void TPackageUpdate::ApplyFile(const std::string& path) {
  SetLocalFile(path);
  PostStep(WM_OPERATIONSTEP, static_cast<int>(TState::Start), 0);
}

void TPackageUpdate::Step(const TOperationStep& message, int& nextState, int& nextParameter) {
  const auto state = static_cast<TState>(message.State);
  if (state == TState::OpenVolume) {
    // Set before the disk prompt, so that a Cancel there still posts a
    // step, which ends the chain with the cancellation line.
    nextState = message.State;
    nextParameter = 1;
  }
  const TState next = Run(state, message.Parameter);
  nextState = static_cast<int>(next);
  // A volume of the wrong sequence asks for the next disk.
  nextParameter = state == TState::OpenVolume && next == TState::OpenVolume ? 1 : 0;
}

TPackageUpdate::TState TPackageUpdate::Run(TState state, int parameter) {
  using TWork = TState (TPackageUpdate::*)(int parameter);
  // The work of each state, in the order of TState from Start on.
  static constexpr TWork kWork[] = {&TPackageUpdate::StartStep,   &TPackageUpdate::OpenVolumeStep,
                                    &TPackageUpdate::CopyStep,    &TPackageUpdate::VolumeDoneStep,
                                    &TPackageUpdate::OpenPackageStep, &TPackageUpdate::TreeStep,
                                    &TPackageUpdate::DocumentStep, &TPackageUpdate::FinishStep,
                                    &TPackageUpdate::DocumentBodyStep, &TPackageUpdate::DocumentIndexStep};
  const auto index = static_cast<std::ptrdiff_t>(state) - static_cast<std::ptrdiff_t>(TState::Start);
  if (index < 0 || index >= std::ssize(kWork)) return TState::None;
  return (this->*kWork[index])(parameter);
}

void TPackageUpdate::AskForDisk() {
  inStream_.reset();
  do {
    const std::string question = FormatMessage(kDiskPrompt, volumesCopied_ + 1, Utf8(packageTitle_).c_str());
    if (!Prompts().AskOkCancel(question)) throw ELxAbort("Operação cancelada.");
  } while (!FileExists(LocalFile()));
}

void TPackageUpdate::OpenVolume() {
  inStream_ = std::make_unique<TLxFileStream>(LocalFile(), TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
  ReadPackageHeader(*inStream_, header_);
  if (header_.empty() || !IsPackageSignature(header_.front())) throw EUpdatePackageError(kInvalidFormat);
}

TPackageUpdate::TState TPackageUpdate::StartStep(int) {
  TOperationReport& report = Report();
  report.SetStageLine(0, "Copiando arquivo de atualização");
  report.SetStageLine(1, "Atualizando");
  report.AddLog(": Iniciando atualização...", TLogColour::Blue);
  // The package is looked at before anything is created for it.
  OpenVolume();
  ForceDirectories(DownloadFolder());
  outFile_ = std::make_unique<TLxFileStream>(PackagePath(), TLxFileMode::Create);
  report.ResetProgress(PackageHeaderNumber(header_, PackageTotalSizeName()));
  packageTitle_ = HeaderValue(header_, PackageTitleName());
  packageId_ = HeaderValue(header_, PackageIdName());
  inStream_.reset();
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Atualização: %s", Utf8(packageTitle_).c_str());
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Id da atualização: %s", Utf8(packageId_).c_str());
  report.AddLogFmt(TLogColour::WindowText, TLogStyle::Plain, "  Tamanho total: %d", report.ProgressMax());
  volumesCopied_ = 0;
  report.AddLog("! Ok", TLogColour::Green);
  return TState::OpenVolume;
}

TPackageUpdate::TState TPackageUpdate::OpenVolumeStep(int parameter) {
  if (parameter > 0) AskForDisk();
  OpenVolume();
  const std::int32_t sequence = PackageHeaderNumber(header_, PackageSequenceName());
  if (sequence != volumesCopied_ + 1) return TState::OpenVolume;
  Report().AddLogFmt(TLogColour::Blue, TLogStyle::Plain, ": Copiando arquivo %d...", sequence);
  return TState::Copy;
}

TPackageUpdate::TState TPackageUpdate::CopyStep(int) {
  std::int32_t count = BytesLeft(*inStream_);
  TState next = TState::VolumeDone;
  if (count > kCopyStepBytes) {
    count = kCopyStepBytes;
    next = TState::Copy;
  }
  if (count > 0) outFile_->CopyFrom(*inStream_, count);
  Report().SetProgress(Report().ProgressPosition() + count);
  return next;
}

TPackageUpdate::TState TPackageUpdate::VolumeDoneStep(int) {
  ++volumesCopied_;
  Report().AddLogFmt(TLogColour::Green, TLogStyle::Plain, ": Arquivo %d copiado", volumesCopied_);
  inStream_.reset();
  return Report().ProgressPosition() < Report().ProgressMax() ? TState::OpenVolume : TState::OpenPackage;
}

void TPackageUpdate::CloseOutFile() {
  // The joined package must be wholly on the disk before it is read back.
  if (outFile_) outFile_->Close();
  outFile_.reset();
}

TPackageUpdate::TState TPackageUpdate::OpenPackageStep(int) {
  CloseOutFile();
  Report().AddLog(": Processando arquivo", TLogColour::Blue);
  Report().NextStage();
  SetLocalFile(PackagePath());
  packageFile_ = std::make_unique<TLxFileStream>(LocalFile(), TLxFileMode::OpenRead, TLxFileShare::DenyWrite);
  auto expanded = std::make_unique<TLxZLIBStream>(*packageFile_);
  expanded->BeginRead();
  const std::int32_t size = expanded->ExpandedSize();
  inStream_ = std::move(expanded);
  Report().ResetProgress(size);
  return TState::Tree;
}

TPackageUpdate::TState TPackageUpdate::TreeStep(int) {
  TOperationReport& report = Report();
  report.AddLog(": Lendo sumário...", TLogColour::Blue);
  const std::int32_t length = ReadLittleEndian32(*inStream_);
  CheckPackageLength(length, BytesLeft(*inStream_));
  CheckExpandedTreeSize(LocalFile(), packageFile_->Size(), length);
  outFile_ = std::make_unique<TLxFileStream>(NewTreeFile(), TLxFileMode::Create);
  if (length > 0) outFile_->CopyFrom(*inStream_, length);
  CloseOutFile();
  report.SetProgress(inStream_->Position());
  report.AddLog("! Ok.", TLogColour::Green);
  report.AddLog(": Gerando lista de documentos a serem atualizados...", TLogColour::Blue);
  BuildUpdateList();
  report.AddLog("! Ok.", TLogColour::Green);
  report.AddLog(": Processando documentos da atualização...", TLogColour::Blue);
  return TState::Document;
}

TPackageUpdate::TState TPackageUpdate::DocumentStep(int) {
  TLxStream& in = *inStream_;
  if (BytesLeft(in) <= 0) return TState::Finish;
  TOperationReport& report = Report();
  const std::int32_t number = ReadLittleEndian32(in);
  TTOMONode* node = DocumentToFetch(number);
  ReadPackageHeader(in, header_);
  report.AddLogFmt(TLogColour::Blue, TLogStyle::Plain, ": (%.4d) %s", number,
                   Utf8(HeaderValue(header_, PackageTitleName())).c_str());
  const std::int32_t length = ReadLittleEndian32(in);
  CheckPackageLength(length, BytesLeft(in));
  if (!node) {
    in.Seek(length, soFromCurrent);
    report.AddLog("! Ignorado", TLogColour::Olive);
    report.SetProgress(in.Position());
    return TState::Document;
  }
  // Not deleted first: the stored document stays until the new one is
  // committed over it.
  installing_ = Installer().Collection().Documents().GetDocument(number, false);
  installing_->Properties() = header_;
  installTarget_ = &installing_->OpenWrite();
  installingNode_ = node;
  installLeft_ = length;
  return DocumentBodyStep(0);
}

TPackageUpdate::TState TPackageUpdate::DocumentBodyStep(int) {
  if (installLeft_ > 0) {
    const std::int32_t count = std::min(installLeft_, kInstallStepBytes);
    installTarget_->CopyFrom(*inStream_, count);
    installLeft_ -= count;
    Report().SetProgress(inStream_->Position());
    return TState::DocumentBody;
  }
  installTarget_ = nullptr;
  if (!installing_->CloseDocumentPart(kInstallStepBytes)) return TState::DocumentBody;
  installing_.reset();
  Installer().SyncDocument(installingNode_->Record().DocumentNumber);
  return TState::DocumentIndex;
}

TPackageUpdate::TState TPackageUpdate::DocumentIndexStep(int) {
  Installer().OpenIndexUpdate();
  if (!Installer().IndexDocumentPart(*installingNode_)) return TState::DocumentIndex;
  installingNode_ = nullptr;
  Report().AddLog("! Atualizado", TLogColour::Green);
  Report().SetProgress(inStream_->Position());
  return TState::Document;
}

void TPackageUpdate::OperationEnded() {
  installTarget_ = nullptr;
  installing_.reset();
  TUpdateOperation::OperationEnded();
}

TPackageUpdate::TState TPackageUpdate::FinishStep(int) {
  Report().AddLog("! Processamento concluído.", TLogColour::Green);
  Report().AddLog(": Finalizando...", TLogColour::Blue);
  Installer().CommitTree(ChangedNodes(), *NewTree());
  SetCompleted();
  Report().AddLog("! Concluído.", TLogColour::Green);
  SetFinished(true);
  Report().NextStage();
  inStream_.reset();
  packageFile_.reset();
  return TState::None;
}

std::string TPackageUpdate::PackagePath() const { return PathJoin(DownloadFolder(), kJoinedPackageName); }

// The file the new tree is read from: an index file of the download folder in
// any case of its name, else tomoidx.dat.
std::string TPackageUpdate::NewTreeFile() const {
  const std::string existing = FindFileIgnoringCase(DownloadFolder(), kIndexFileName);
  return FileExists(existing) ? existing : PathJoin(DownloadFolder(), kExpandedIndexFileName);
}
