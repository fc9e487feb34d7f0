#pragma once

// TfrmUpdate: the update window. It shows an update of Src2003/Update (a
// TInternetUpdate for kind 1, a TPackageUpdate for the others) and adds only
// what needs a window: choosing the file of kind 2, the removable-medium
// prompt of kind 3, and the reload of the installed tree when an update ends
// without completing.
//
//   TfrmUpdate::StartUpdate(TUpdateKind::Package, mainWindow, collection, "/mnt/atualizacao.dat");
//
// At most one update window exists; StartUpdate while one runs only brings
// it up. On this system the update program files of kinds 2 and 3
// ("????_??_?.exe") give way to the update package itself: a package chosen
// (kind 2) or found on a removable medium (kind 3, UpdateSources.h) is
// applied in this window; a program file is started, and the client ends,
// only when the system can run it.

#include <string>
#include <vector>

#include <QPointer>
#include <QString>

#include "InstalledCollection.h"
#include "UpdateBaseUnit.h"

class QFileDialog;
class TInstalledCollection;
class TInternetUpdate;
class TPackageUpdate;
class TUpdateOperation;

class TfrmUpdate : public TfrmUpdateBase {
  Q_OBJECT

 public:
  static constexpr char kOpenDialogTitle[] = "Selecione o arquivo de atualização";
#ifdef Q_OS_WIN
  static constexpr char kNoMediumMessage[] =
      "Não foi encontrado um arquivo de atualização no disco. Insira um disco de atualização na unidade A: "
      "para continuar.";
#else
  // Here the search covers every mounted removable medium, not a drive letter.
  static constexpr char kNoMediumMessage[] =
      "Não foi encontrado um arquivo de atualização nas mídias removíveis. Insira o pen drive, CD ou disquete "
      "de atualização para continuar.";
#endif
  static constexpr char kNoMediumCaption[] = "Arquivo não encontrado";

  // The window of an update of `kind`: Start begins it.
  TfrmUpdate(TUpdateKind kind, TInstalledCollection& collection, QWidget* owner);
  // An update that did not complete leaves the installed tree in memory with
  // merges that were never saved: it is loaded again from the data folder.
  ~TfrmUpdate() override;

  // Shows the update window, creating it when there is none, and starts an
  // update of `kind` unless one is under way. `argument` is kind 4's
  // command-line argument.
  static TfrmUpdate* StartUpdate(TUpdateKind kind, QWidget* owner, TInstalledCollection& collection,
                                 const QString& argument = {});
  // The update window, or nullptr.
  static TfrmUpdate* Instance();

  TUpdateOperation& Update() const;
  // The update of kinds 2 to 4, or of kind 1; nullptr for the other.
  TPackageUpdate* Package() const { return package_; }
  TInternetUpdate* Internet() const { return internet_; }
  // Starts the window's update (StartUpdate's last step).
  void Start(const QString& argument = {});

  // How kinds 2 and 3 ask the user; tests replace them.
  virtual QString AskForUpdateFile();
  virtual bool AskForMedium();
  // The media folders kind 3 searches (RemovableMediaFolders by default).
  void SetMediaFolders(std::vector<std::string> folders) {
    mediaFolders_ = std::move(folders);
    mediaFoldersGiven_ = true;
  }

 private:
  void StartFromFile();
  void StartFromMedium();
  // A package is applied here; a program file is started and the client
  // ends. False when the file is neither.
  bool UseUpdateFile(const QString& path);
  void ReleaseNow();

  static QPointer<TfrmUpdate> instance_;
  const TUpdateKind kind_;
  TPackageUpdate* package_ = nullptr;
  TInternetUpdate* internet_ = nullptr;
  // Gone first when the program ends (the main window made it first): then
  // there is nothing to reload.
  QPointer<TInstalledCollection> collection_;
  std::vector<std::string> mediaFolders_;
  bool mediaFoldersGiven_ = false;
};
