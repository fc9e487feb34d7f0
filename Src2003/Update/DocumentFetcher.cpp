#include "DocumentFetcher.h"

#include <algorithm>
#include <cstdio>

#include "LxFileStream.h"
#include "THttpCli.h"

namespace {

// The low 16 bits of a request's result are its error.
constexpr int kErrorBits = 0xFFFF;

}  // namespace

// One client and the request it runs. The client only borrows the file, so
// it is declared after it and goes first.
struct TDocumentFetcher::TSlot {
  std::unique_ptr<TLxFileStream> File;
  std::unique_ptr<THttpCli> Client = std::make_unique<THttpCli>();
  bool Running = false;
  bool FileCreated = false;
  std::int32_t Key = 0;
  TFetchResult Result;

  // Closes the file without raising and deletes it if this request made it.
  void DiscardFile() {
    if (Client) Client->SetReceiveStream(nullptr);
    File.reset();
    if (FileCreated) std::remove(Result.File.c_str());
    FileCreated = false;
  }
};

TDocumentFetcher::TDocumentFetcher(int requestsInFlight, QObject* parent) : QObject(parent) {
  for (int i = 0; i < std::max(1, requestsInFlight); ++i) {
    auto slot = std::make_unique<TSlot>();
    TSlot* raw = slot.get();
    THttpCli* client = raw->Client.get();
    connect(client, &THttpCli::DocBegin, this, [this, raw] { BeginBody(*raw); });
    connect(client, &THttpCli::DocData, this, [this](const char*, int length) { emit Received(length); });
    connect(client, &THttpCli::DocEnd, this, [this, raw] { EndBody(*raw); });
    connect(client, &THttpCli::RequestDone, this, [this, raw](int, int error) { RequestDone(*raw, error); });
    slots_.push_back(std::move(slot));
  }
}

TDocumentFetcher::~TDocumentFetcher() {
  for (auto& slot : slots_) {
    slot->Client.reset();  // aborts a running request
    slot->DiscardFile();
  }
}

void TDocumentFetcher::Configure(const THttpCli& model) {
  for (auto& slot : slots_) {
    THttpCli& client = *slot->Client;
    client.SetProxy(model.Proxy());
    client.SetProxyPort(model.ProxyPort());
    client.SetProxyUsername(model.ProxyUsername());
    client.SetProxyPassword(model.ProxyPassword());
    client.SetAgent(model.Agent());
    client.SetAccept(model.Accept());
    client.SetNoCache(model.NoCache());
    client.SetTransferTimeout(model.TransferTimeout());
  }
}

bool TDocumentFetcher::CanStart() const {
  for (const auto& slot : slots_) {
    if (!slot->Running && !slot->Client->Busy()) return true;
  }
  return false;
}

void TDocumentFetcher::Start(std::int32_t key, std::string url, std::string file, std::int64_t maxBodyBytes) {
  for (auto& slot : slots_) {
    if (slot->Running || slot->Client->Busy()) continue;
    slot->Running = true;
    slot->Key = key;
    slot->Result = TFetchResult{};
    slot->Result.Url = url;
    slot->Result.File = std::move(file);
    slot->Client->SetURL(std::move(url));
    slot->Client->SetMaxBodyBytes(maxBodyBytes);
    slot->Client->Get();
    return;
  }
}

int TDocumentFetcher::InFlight() const {
  int count = 0;
  for (const auto& slot : slots_) count += slot->Running ? 1 : 0;
  return count;
}

const TFetchResult* TDocumentFetcher::Result(std::int32_t key) const {
  const auto found = results_.find(key);
  return found == results_.end() ? nullptr : &found->second;
}

void TDocumentFetcher::Forget(std::int32_t key) { results_.erase(key); }

void TDocumentFetcher::AbortAll() {
  for (auto& slot : slots_) {
    if (slot->Running) slot->Client->Abort();
  }
}

void TDocumentFetcher::BeginBody(TSlot& slot) {
  slot.Result.BodyBegun = true;
  slot.Result.ContentLength = slot.Client->ContentLength();
  try {
    slot.File = std::make_unique<TLxFileStream>(slot.Result.File, TLxFileMode::Create);
  } catch (const std::exception&) {
    slot.Result.LocalFailure = std::current_exception();
    slot.Client->Abort();
    return;
  }
  slot.FileCreated = true;
  slot.Client->SetReceiveStream(slot.File.get());
}

void TDocumentFetcher::EndBody(TSlot& slot) {
  slot.Client->SetReceiveStream(nullptr);
  if (!slot.File) return;
  std::unique_ptr<TLxFileStream> file = std::move(slot.File);
  try {
    file->Close();
  } catch (const std::exception&) {
    // The last bytes did not reach the disk: the file is not the document.
    slot.Result.LocalFailure = std::current_exception();
  }
}

void TDocumentFetcher::RequestDone(TSlot& slot, int error) {
  TFetchResult& result = slot.Result;
  result.Error = error & kErrorBits;
  if (result.Error != 0) result.ErrorText = slot.Client->ErrorText();
  result.Bytes = slot.Client->BytesReceived();
  if (!result.Succeeded()) slot.DiscardFile();
  slot.FileCreated = false;
  slot.File.reset();
  slot.Running = false;
  const std::int32_t key = slot.Key;
  results_[key] = std::move(result);
  emit Arrived(key);
}
