// Xapian: one document per corpus document (document id = its number), one
// posting per token at its ordinal, so phrase queries see our positions.
// Results are taken unranked (boolean weighting), in document id order.

#include <xapian.h>

#include <algorithm>

#include "Corpus.h"
#include "Engine.h"

namespace engines {
namespace {

// Xapian refuses longer terms; the query chooser never picks such words.
constexpr std::size_t kMaxTermBytes = 240;

class XapianEngine : public Engine {
 public:
  void Build(const std::string& corpusFile, const std::string& folder) override {
    Xapian::WritableDatabase db(folder + "/xapian", Xapian::DB_CREATE_OR_OVERWRITE);
    ForEachDocument(corpusFile, [&](Document& document) {
      Xapian::Document entry;
      Xapian::termpos position = 0;
      for (const std::string& token : TokensOf(std::move(document.text))) {
        ++position;
        const std::string term = TokenAsUtf8(token);
        if (term.size() <= kMaxTermBytes) entry.add_posting(term, position);
      }
      db.replace_document(static_cast<Xapian::docid>(document.number), entry);
    });
    db.commit();
  }

  void Open(const std::string& folder) override { db_ = Xapian::Database(folder + "/xapian"); }

  std::vector<int> Search(const Query& query) override {
    std::vector<std::string> terms;
    for (const std::string& token : query.tokens) terms.push_back(TokenAsUtf8(token));
    const Xapian::Query match = terms.size() == 1
                                    ? Xapian::Query(terms.front())
                                    : Xapian::Query(Xapian::Query::OP_PHRASE, terms.begin(), terms.end(),
                                                    static_cast<Xapian::termcount>(terms.size()));
    Xapian::Enquire enquire(db_);
    enquire.set_query(match);
    enquire.set_weighting_scheme(Xapian::BoolWeight());
    enquire.set_docid_order(Xapian::Enquire::ASCENDING);
    const Xapian::MSet found = enquire.get_mset(0, db_.get_doccount());
    std::vector<int> documents;
    for (auto it = found.begin(); it != found.end(); ++it) documents.push_back(static_cast<int>(*it));
    std::sort(documents.begin(), documents.end());
    return documents;
  }

 private:
  Xapian::Database db_;
};

}  // namespace

std::unique_ptr<Engine> MakeXapianEngine() { return std::make_unique<XapianEngine>(); }

}  // namespace engines
