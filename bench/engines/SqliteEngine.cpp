// SQLite FTS5: one row per document (rowid = document number) whose body is
// the document's tokens, separated by spaces, under the "ascii" tokenizer, so
// that FTS5 sees exactly our tokens and their positions.

#include <sqlite3.h>

#include <stdexcept>

#include "Corpus.h"
#include "Engine.h"

namespace engines {
namespace {

void Check(int code, sqlite3* db, const char* what) {
  if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW) {
    throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
  }
}

class SqliteEngine : public Engine {
 public:
  ~SqliteEngine() override {
    sqlite3_finalize(select_);
    sqlite3_close(db_);
  }

  void Build(const std::string& corpusFile, const std::string& folder) override {
    OpenDatabase(folder, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    Exec("CREATE VIRTUAL TABLE docs USING fts5(body, tokenize='ascii');");
    Exec("BEGIN;");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db_, "INSERT INTO docs(rowid, body) VALUES(?, ?)", -1, &insert, nullptr), db_,
          "prepare");
    std::string body;
    ForEachDocument(corpusFile, [&](Document& document) {
      body.clear();
      for (const std::string& token : TokensOf(std::move(document.text))) {
        if (!body.empty()) body += ' ';
        body += TokenAsUtf8(token);
      }
      sqlite3_bind_int(insert, 1, document.number);
      sqlite3_bind_text(insert, 2, body.data(), static_cast<int>(body.size()), SQLITE_STATIC);
      Check(sqlite3_step(insert), db_, "insert");
      sqlite3_reset(insert);
    });
    sqlite3_finalize(insert);
    Exec("COMMIT;");
  }

  void Open(const std::string& folder) override {
    OpenDatabase(folder, SQLITE_OPEN_READONLY);
    Check(sqlite3_prepare_v2(db_, "SELECT rowid FROM docs WHERE docs MATCH ? ORDER BY rowid", -1, &select_,
                             nullptr),
          db_, "prepare");
  }

  std::vector<int> Search(const Query& query) override {
    std::string phrase = "\"";
    for (const std::string& token : query.tokens) {
      if (phrase.size() > 1) phrase += ' ';
      phrase += TokenAsUtf8(token);
    }
    phrase += '"';
    sqlite3_bind_text(select_, 1, phrase.data(), static_cast<int>(phrase.size()), SQLITE_TRANSIENT);
    std::vector<int> documents;
    int code;
    while ((code = sqlite3_step(select_)) == SQLITE_ROW) documents.push_back(sqlite3_column_int(select_, 0));
    Check(code, db_, "search");
    sqlite3_reset(select_);
    return documents;
  }

 private:
  void OpenDatabase(const std::string& folder, int flags) {
    const std::string path = folder + "/fts5.db";
    Check(sqlite3_open_v2(path.c_str(), &db_, flags, nullptr), db_, "open");
  }
  void Exec(const char* sql) { Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), db_, sql); }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* select_ = nullptr;
};

}  // namespace

std::unique_ptr<Engine> MakeSqliteEngine() { return std::make_unique<SqliteEngine>(); }

}  // namespace engines
