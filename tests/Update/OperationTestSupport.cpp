#include "OperationTestSupport.h"

#include <algorithm>
#include <filesystem>

#include <QEventLoop>
#include <QTimer>

#include "LxConfigStore.h"
#include "THttpCli.h"

void TRecordingView::AddNodeItem(int item, int parentItem, const TTOMONode*, const std::string& caption) {
  Calls.push_back("Add " + std::to_string(item) + " under " + std::to_string(parentItem) + " " + caption);
}

void TRecordingView::SetNodeItemCaption(int item, const std::string& caption) {
  Calls.push_back("Caption " + std::to_string(item) + " " + caption);
}

std::vector<std::string> TRecordingView::Texts() const {
  std::vector<std::string> texts;
  for (const TRecordedLine& line : Lines) texts.push_back(line.Text);
  return texts;
}

int TRecordingView::CountOf(const std::string& text) const {
  return static_cast<int>(std::count_if(Lines.begin(), Lines.end(), [&](const TRecordedLine& line) {
    return line.Text == text;
  }));
}

void TScriptedOperation::Step(const TOperationStep& message, int& nextState, int& nextParameter) {
  ran_.push_back(std::to_string(message.State) + ":" + std::to_string(message.Parameter));
  const auto step = steps_.find(message.State);
  if (step != steps_.end()) step->second(message, nextState, nextParameter);
}

bool TScriptedOperation::RequestsRunning() const { return transfer_.HttpCli().Busy(); }

void TScriptedOperation::AbortRequests() { transfer_.HttpCli().Abort(); }

bool RunChain(TOperation& operation, int timeoutMs) {
  if (!operation.Running()) return true;
  QEventLoop loop;
  bool ended = false;
  QObject::connect(&operation, &TOperation::ChainEnded, &loop, [&] {
    ended = true;
    loop.quit();
  });
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  loop.exec();
  return ended;
}

void OperationTest::SetUp() {
  previousConfig_ = ReplaceConfig(std::make_unique<TTOMOConfig>(std::make_unique<TLxMemoryConfigStore>()));
  std::filesystem::create_directories(folder_.Path() / "Download");
  Config().SetString(::DownloadFolder, DownloadFolder());
}

void OperationTest::TearDown() { ReplaceConfig(std::move(previousConfig_)); }
