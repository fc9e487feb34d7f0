#pragma once

// TDocumentFetcher: several GETs at once, each on a THttpCli of its own (its
// own kept-alive connection, through the same proxy), every body written to
// a file of its own. A distant server answers each request after its round
// trip; with several requests in flight the waits overlap.
//
// Results are kept under the key the owner gave until the owner takes them,
// so the owner uses them in its own order whatever order they arrive in:
//
//   TDocumentFetcher fetcher;
//   fetcher.Configure(operation.HttpCli());         // proxy, agent, timeout
//   while (fetcher.CanStart()) fetcher.Start(n, url, file);
//   connect(&fetcher, &TDocumentFetcher::Arrived, ...);
//   if (const TFetchResult* result = fetcher.Result(n)) { ...; fetcher.Forget(n); }
//
// A request that fails, or whose file cannot be written, leaves no file: a
// torn body is nobody's document. AbortAll ends every running request, and
// their partial files are deleted when the requests report back (or when the
// fetcher goes away).

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <QObject>

class THttpCli;

// What became of one request.
struct TFetchResult {
  std::string Url;
  std::string File;
  // A 2xx answer began: the file was created and its body written to it.
  bool BodyBegun = false;
  // The answer's Content-Length; -1 when none.
  std::int64_t ContentLength = -1;
  // Body bytes written to File.
  std::int64_t Bytes = 0;
  // 0 on success, else the request's error (HttpErrors.h) and its words.
  int Error = 0;
  std::string ErrorText;
  // The file could not be created or written: that error, raised again by
  // whoever uses the result.
  std::exception_ptr LocalFailure;

  bool Succeeded() const { return Error == 0 && !LocalFailure; }
};

class TDocumentFetcher : public QObject {
  Q_OBJECT

 public:
  // Requests in flight at once unless told otherwise: enough to hide a
  // distant server's round trip (measured in bench/Update), and what one
  // program asks of a server without crowding it.
  static constexpr int kDefaultRequestsInFlight = 8;

  explicit TDocumentFetcher(int requestsInFlight = kDefaultRequestsInFlight, QObject* parent = nullptr);
  ~TDocumentFetcher() override;

  // Every client sends what `model` sends: proxy and its user, agent,
  // accepted types, no-cache, and the same no-data timeout.
  void Configure(const THttpCli& model);

  // A client is free for another request.
  bool CanStart() const;
  // GET `url` into `file` (created, or replaced, when a 2xx answer begins);
  // a body past `maxBodyBytes` ends the request in an error. Arrived(key)
  // follows once the request has ended. Only when CanStart().
  void Start(std::int32_t key, std::string url, std::string file, std::int64_t maxBodyBytes);
  // Requests that have not yet ended.
  int InFlight() const;
  // The result of the ended request of `key`, or nullptr while it runs or
  // when there was none.
  const TFetchResult* Result(std::int32_t key) const;
  // The result of `key` is dealt with: the fetcher keeps it no longer.
  void Forget(std::int32_t key);
  // Every running request ends (in an error result); its partial file is
  // deleted as it reports back.
  void AbortAll();

 signals:
  // `length` more body bytes arrived, of whichever request.
  void Received(int length);
  // The request of `key` ended; Result(key) holds what became of it.
  void Arrived(std::int32_t key);

 private:
  struct TSlot;
  void BeginBody(TSlot& slot);
  void EndBody(TSlot& slot);
  void RequestDone(TSlot& slot, int error);

  std::vector<std::unique_ptr<TSlot>> slots_;
  std::unordered_map<std::int32_t, TFetchResult> results_;
};
