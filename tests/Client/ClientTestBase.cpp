#include "SearchPage.h"
#include "SearchSession.h"
#include "TextView.h"
#include "ClientTestBase.h"

#include <filesystem>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "ClientMainUnit.h"
#include "ConfigUnit.h"
#include "DocumentBaseUnit.h"
#include "ErrorDisplay.h"
#include "LxConfigStore.h"
#include "LxDateTime.h"
#include "TOMOTree.h"

void ClientTest::SetUp() {
  std::filesystem::create_directories(folder_.Path() / "Dados");
  std::filesystem::create_directories(folder_.Path() / "Extra");
  previousConfig_ = ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  Config().SetString(::DataFolder, DataFolder());
  Config().SetString(ExtraFolder, folder_.File("Extra"));
  SetErrorLogFolder(folder_.Path().string());
  SetErrorPresenter([this](const TErrorReport& report) { errors_.push_back(report); });
  scopedPrompts_ = std::make_unique<TScopedPrompts>(prompts_);
  documents_ = std::make_unique<TTOMODocumentFolder>(DataFolder());
  TTOMORecordH root;
  root.Id = 0;
  root.ParentId = -1;
  root.Title = "Boletim";
  records_.push_back(root);
}

void ClientTest::TearDown() {
  window_.reset();
  documents_.reset();
  scopedPrompts_.reset();
  SetErrorPresenter({});
  SetErrorLogFolder("");
  ReplaceConfig(std::move(previousConfig_));
}

void ClientTest::AddFolder(int id, int parentId, const std::string& title, const std::string& summary) {
  TTOMORecordH record;
  record.Id = id;
  record.ParentId = parentId;
  record.Title = title;
  record.Summary = summary;
  records_.push_back(record);
}

void ClientTest::AddDocument(int id, int parentId, const std::string& title, char kind) {
  TTOMORecordH record;
  record.Id = id;
  record.ParentId = parentId;
  record.Title = title;
  record.DocumentNumber = id;
  record.Kind = kind;
  records_.push_back(record);
}

void ClientTest::RemoveEntry(int id) {
  std::erase_if(records_, [id](const TTOMORecordH& record) { return record.Id == id; });
}

void ClientTest::SetPublishedDate(int id, TDateTime date) {
  for (TTOMORecordH& record : records_) {
    if (record.Id == id) record.PublishedDate = date;
  }
}

void ClientTest::SaveIndex() {
  TTOMOTree tree;
  for (const TTOMORecordH& record : records_) tree.AddNode(record);
  tree.SaveToFile(DataFolder());
}

void ClientTest::WriteBody(int number, const std::string& body) {
  auto document = DocumentSource()->GetDocument(number, true);
  document->SetProperty("Data", "01/02/2003");
  TLxStream& stream = document->OpenWrite();
  stream.WriteBuffer(body.data(), static_cast<std::int32_t>(body.size()));
  document->CloseDocument();
}

std::string ClientTest::TextBody(const std::string& content, const std::vector<std::string>& linkLines) {
  std::string body = "Data: 01/02/2003\r\nTamanho: " + std::to_string(content.size()) + "\r\n\r\n" + content;
  if (linkLines.empty()) return body;
  body += "\r\nHyperlinks\r\n\r\n";
  for (const std::string& line : linkLines) body += line + "\r\n";
  return body + "\r\n";
}

std::string ClientTest::RtfLines(const std::vector<std::string>& lines) {
  std::string rtf = "{\\rtf1\\ansi ";
  for (size_t i = 0; i < lines.size(); ++i) rtf += lines[i] + (i + 1 < lines.size() ? "\\par " : "");
  return rtf + "}";
}

TfrmClientMain& ClientTest::OpenWindow() {
  window_.reset();
  window_ = std::make_unique<TfrmClientMain>();
  window_->show();
  QCoreApplication::processEvents();
  return *window_;
}

void ClientTest::ShowId(int id) {
  TTOMONode* node = window_->Tree()->FindNode(id);
  ASSERT_NE(node, nullptr) << id;
  window_->ShowNode(node);
}

TTextView& ClientTest::Reader() { return *window_->findChild<TTextView*>("TextEdit"); }

TSearchSession& ClientTest::Session() { return window_->findChild<TSearchPage*>()->Session(); }

bool ClientTest::RunUntil(const std::function<bool()>& done) {
  constexpr int kTimeoutMs = 10'000;
  constexpr int kSliceMs = 20;
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < kTimeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, kSliceMs);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  return done();
}
