#pragma once

// TPackageUpdate: applies an update package (kind 4, or the file kinds 2 and
// 3 found) to the installed collection, without any window.
//
//   TPackageUpdate update(collection, WordIndex.get());
//   update.SetView(&view);
//   update.StartPackage("\"/media/disco/atualizacao.dat\"");   // quotes dropped
//   RunOperation(update);                                     // or a window's event loop
//   update.Completed();                                       // tree saved and reloaded
//
// Nothing is lost whatever happens while a package is applied: documents go
// in through the document file's commit (the old one stays until the new one
// is complete), and the installed tree file, written last, is the commit
// point of the whole update. An interrupted update leaves the old tree,
// whose entries still look older than the package's, so applying the same
// package again installs everything again.
//
// It runs Start -> OpenVolume <-> Copy -> VolumeDone -> (OpenVolume for each
// further volume) -> OpenPackage -> Tree -> Document ... Document -> Finish,
// logging every stage; a document to install goes Document -> DocumentBody
// (a piece of its body, as often as it takes; the last piece commits it) ->
// DocumentIndex (its text read, then indexed: two steps) -> Document.

#include <cstdint>
#include <memory>
#include <string>

#include "LxText.h"
#include "UpdateOperation.h"

class TLxFileStream;
class TLxStream;
class TTOMODocument;
class TTOMONode;

class TPackageUpdate : public TUpdateOperation {
 public:
  // The steps of applying a package, numbered 10 to 19 in this order (the
  // number a step message carries).
  enum class TState : int {
    None = 0, Start = 10, OpenVolume, Copy, VolumeDone, OpenPackage, Tree, Document, Finish, DocumentBody, DocumentIndex
  };

  // Bytes of a volume copied per step, so the window stays responsive.
  static constexpr std::int32_t kCopyStepBytes = 2048;
  // Body bytes of a package's document installed per step: a large
  // document (hundreds of KiB) takes several steps, none of them long.
  static constexpr std::int32_t kInstallStepBytes = 64 * 1024;
  // The joined volumes, and the new tree file, in the download folder.
  static constexpr char kJoinedPackageName[] = "Atualiza.tmp";

  TPackageUpdate(TInstalledCollection& collection, TWordIndex* wordIndex, QObject* parent = nullptr);
  ~TPackageUpdate() override;

  // Kind 4: applies the package named by a command-line argument (quotes
  // around it dropped).
  void StartPackage(const std::string& argument);
  // Applies the package file at `path` under the kind already set (a file
  // chosen or found on a medium).
  void ApplyFile(const std::string& path);
  // The argument without a pair of double quotes around it; a lone double
  // quote stays as it is.
  static std::string PackagePathOfArgument(const std::string& argument);

  // The file being read: the volume, then the joined package.
  const std::string& LocalFile() const { return localFile_; }
  void SetLocalFile(std::string file) { localFile_ = std::move(file); }
  // Title and identifier of the package, Windows-1252.
  const std::string& PackageTitle() const { return packageTitle_; }
  const std::string& PackageId() const { return packageId_; }
  int VolumesCopied() const { return volumesCopied_; }

 protected:
  void Step(const TOperationStep& message, int& nextState, int& nextParameter) override;
  // A document cut off halfway is dropped (its next reader clears what it
  // left); the stored one stays.
  void OperationEnded() override;

 private:
  // The work of a state, and the state that follows it; each step below is
  // one state's work.
  TState Run(TState state, int parameter);
  TState StartStep(int);
  TState OpenVolumeStep(int parameter);
  TState CopyStep(int);
  TState VolumeDoneStep(int);
  TState OpenPackageStep(int);
  TState TreeStep(int);
  TState DocumentStep(int);
  TState FinishStep(int);
  TState DocumentBodyStep(int);
  TState DocumentIndexStep(int);
  // Asks for the next volume until LocalFile exists; Cancel raises ELxAbort.
  void AskForDisk();
  // Opens LocalFile for reading, others denied writing, as the in stream,
  // and reads its package header, refusing a file that is no package.
  void OpenVolume();
  void CloseOutFile();
  std::string PackagePath() const;
  std::string NewTreeFile() const;

  std::string localFile_;
  std::string packageTitle_;
  std::string packageId_;
  int volumesCopied_ = 0;
  TLxStringList header_;
  // The zlib layer of inStream_ reads from the package file: it goes first.
  std::unique_ptr<TLxFileStream> packageFile_;
  std::unique_ptr<TLxStream> inStream_;
  std::unique_ptr<TLxFileStream> outFile_;
  // The document being installed over several steps: the node it is for,
  // its open document, and the body bytes still to copy.
  TTOMONode* installingNode_ = nullptr;
  std::unique_ptr<TTOMODocument> installing_;
  TLxStream* installTarget_ = nullptr;
  std::int32_t installLeft_ = 0;
};
