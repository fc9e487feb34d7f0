#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "ErrorReport.h"
#include "Prompts.h"
#include "TOMOHyperlink.h"
#include "TOMORecord.h"
#include "TempFolder.h"

class TTOMODocumentFolder;
class TTOMOConfig;
class TfrmClientMain;
class TSearchSession;
class TTextView;

// A small document base in a scratch folder, settings in memory pointing at
// it, errors and notices recorded instead of shown.
class ClientTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string DataFolder() const { return folder_.File("Dados"); }
  std::string IndexFile() const { return folder_.File("Dados/TOMOIdx.dat"); }

  // Entries, in file order; the root (Id 0) comes first.
  void AddFolder(int id, int parentId, const std::string& title, const std::string& summary = "");
  void AddDocument(int id, int parentId, const std::string& title, char kind = kKindRichText);
  // Leaves an entry added before out of the next SaveIndex.
  void RemoveEntry(int id);
  // Sets the publication date of an entry added before.
  void SetPublishedDate(int id, TDateTime date);
  void SaveIndex();
  // Stores a plain body for the entry's document (number = Id).
  void WriteBody(int number, const std::string& body);
  // A text body with property block, content and optional link lines.
  static std::string TextBody(const std::string& content, const std::vector<std::string>& linkLines = {});
  static std::string RtfLines(const std::vector<std::string>& lines);

  TfrmClientMain& OpenWindow();
  TfrmClientMain& Window() { return *window_; }
  // Frees the main window, with every window it owns.
  void DestroyWindow() { window_.reset(); }
  void ShowId(int id);
  // The window's reader view, which keeps the shown document, and the
  // search page's session.
  TTextView& Reader();
  TSearchSession& Session();
  // Lets events run until `done` holds or 10 s have passed; whether it holds.
  static bool RunUntil(const std::function<bool()>& done);
  std::vector<TErrorReport> errors_;
  TScriptedPrompts prompts_;

 private:
  TempFolder folder_;
  std::vector<TTOMORecordH> records_;
  std::unique_ptr<TTOMOConfig> previousConfig_;
  std::unique_ptr<TTOMODocumentFolder> documents_;
  std::unique_ptr<TScopedPrompts> scopedPrompts_;
  std::unique_ptr<TfrmClientMain> window_;
};
