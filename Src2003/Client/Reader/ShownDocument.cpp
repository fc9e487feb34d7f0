#include "ShownDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTimer>

#include "ClientErrors.h"
#include "EntryBody.h"
#include "ErrorDisplay.h"
#include "ErrorReport.h"
#include "InstalledCollection.h"
#include "LinkAddress.h"
#include "LxExcept.h"
#include "QtText.h"
#include "RichTextPlainText.h"
#include "RichTextView.h"
#include "RtfReader.h"
#include "TOMOTree.h"
#include "TextLinks.h"
#include "TextView.h"

namespace {

constexpr char kMissingLinkTarget[] =
    "Destino do atalho (%.4d) não encontrado. \r\n"
    "Tente atualizar novamente sua base de dados e provavelmente este problema será corrigido.";

}  // namespace

TShownDocument::TShownDocument(TTextView& view) : QObject(&view), view_(view) {
  connect(&view_, &TTextView::LinkClicked, this, [this](int link) { Guarded([this, link] { FollowLink(link); })(); });
}

TTOMONode* TShownDocument::FindNode(int id) const {
  return collection_ && collection_->Tree() ? collection_->Tree()->FindNode(id) : nullptr;
}

void TShownDocument::Clear() {
  links_.clear();
  lineStarts_.clear();
  view_.clear();
}

void TShownDocument::Load(TTOMONode& entry) {
  const QSignalBlocker quiet(&view_);
  Clear();
  try {
    LoadBody(entry);
  } catch (...) {
    ShowCurrentError();
    ShowError(entry);
  }
  view_.document()->setModified(false);
  emit Loaded(&entry);
  SaveLearnedFacts(collection_);
}

void TShownDocument::LoadBody(TTOMONode& entry) {
  const TTOMODocumentBody body = ReadEntryBody(entry, false);
  const TRichTextDocument content = ReadRichText(body.Content);
  std::unique_ptr<QTextDocument> text = BuildTextDocument(content);
  text->setDefaultFont(view_.font());
  lineStarts_ = BuildLineStarts(RichTextPlainText(content));
  links_ = ApplyLinks(*text, lineStarts_, body.Hyperlinks, [this](int id) { return FindNode(id) != nullptr; });
  // Documents we put in belong to the view; its own first one belongs to
  // its text control, which frees it when replaced.
  QTextDocument* old = view_.document();
  const bool oldIsOurs = old->parent() == &view_;
  text->setParent(&view_);
  view_.setDocument(text.release());
  if (oldIsOurs) delete old;
  view_.ApplyZoom();
  view_.moveCursor(QTextCursor::Start);
}

void TShownDocument::ShowError(TTOMONode& entry) {
  const TErrorReport report = MakeCurrentErrorReport();
  entry.ClearDocumentDate();
  Clear();
  view_.setPlainText(DocumentErrorText(entry.Record().DocumentNumber, report.ClassName, report.Message));
}

void TShownDocument::FollowLink(int number) {
  if (number < 0 || number >= static_cast<int>(links_.size())) {
    throw ELxException(FormatMessage("Índice de lista fora dos limites (%d)", number));
  }
  const TTOMOHyperlinkRecord link = links_[static_cast<size_t>(number)];
  if (!link.URL.empty()) {
    OpenLinkAddress(Win1252ToQString(link.URL));
    return;
  }
  TTOMONode* target = FindNode(link.Target);
  if (!target) throw ETOMOError(FormatMessage(kMissingLinkTarget, link.Target));
  emit EntryWanted(target);
}

void TShownDocument::StoreScroll(int id) {
  // The text is laid out lazily; a fraction of an unfinished range would be
  // wrong, so finish the layout unless the view is still at the top.
  if (view_.verticalScrollBar()->value() != view_.verticalScrollBar()->minimum()) {
    view_.document()->documentLayout()->documentSize();
  }
  scrollById_[id] = view_.ScrollFraction();
}

void TShownDocument::RestoreScroll(int id) {
  const auto stored = scrollById_.find(id);
  const int fraction = stored == scrollById_.end() ? 0 : stored->second;
  if (fraction == 0) {
    view_.ScrollToFraction(0);
    return;  // the top needs no layout of the whole text
  }
  // Lay the whole text out first, so that the scroll range is final.
  view_.document()->documentLayout()->documentSize();
  view_.ScrollToFraction(fraction);
  // Once more after pending layout work, unless another entry came meanwhile.
  QTimer::singleShot(0, &view_, [this, id, fraction] {
    if (!stillShown_ || stillShown_(id)) view_.ScrollToFraction(fraction);
  });
}
