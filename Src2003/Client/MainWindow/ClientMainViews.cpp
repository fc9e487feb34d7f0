// What the main window shows for a node: the document list, a text or a bitmap.
#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>

#include "ClientMainUnit.h"
#include "DocumentBaseUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ErrorDisplay.h"
#include "ErrorReport.h"
#include "LxExcept.h"
#include "LxText.h"
#include "RichTextPlainText.h"
#include "RichTextView.h"
#include "RtfReader.h"
#include "TOMODocumentBody.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"
#include "TextLinks.h"
#include "TextView.h"

namespace {

// The document source hands out documents that must be closed whatever happens.
class TOpenDocument {
 public:
  explicit TOpenDocument(std::int32_t number) {
    if (!DocumentSource()) throw ELxException("Diretório não existente");
    document_ = DocumentSource()->GetDocument(number, false);
  }
  ~TOpenDocument() {
    try {
      document_->CloseDocument();
    } catch (...) {
    }
  }
  TTOMODocument& operator*() const { return *document_; }
  TTOMODocument* operator->() const { return document_.get(); }

 private:
  std::unique_ptr<TTOMODocument> document_;
};

void TakeDocumentFacts(TTOMONode& node, const TLxNameValueList& values, TTOMODocument& document) {
  node.SetDocumentDate(StrToDateTime(values.Values(kBodyDateValue)));
  node.SetDocumentSize(document.GetFileSize());
}

}  // namespace

bool TfrmClientMain::TextPageShown() const { return pageControl_->currentWidget() == textTabSheet_; }

bool TfrmClientMain::BitmapPageShown() const { return pageControl_->currentWidget() == bitmapTabSheet_; }

void TfrmClientMain::SelectTreeItem(const TTOMONode* node) {
  const QModelIndex item = treeModel_->IndexOf(node);
  if (item.isValid()) {
    treeView_->setCurrentIndex(item);
    treeView_->scrollTo(item);
  } else {
    treeView_->clearSelection();
    treeView_->setCurrentIndex(QModelIndex());
  }
}

void TfrmClientMain::FillView(TTOMONode* node) {
  const char kind = node ? node->Record().Kind : 0;
  if (kind == kKindBitmap) {
    pageControl_->setCurrentWidget(bitmapTabSheet_);
    ShowBitmapDocument(*node);
  } else if (kind == kKindRichText) {
    pageControl_->setCurrentWidget(textTabSheet_);
    ShowTextDocument(*node);
  } else {
    pageControl_->setCurrentWidget(listBoxTabSheet_);
    FillDocumentList();
  }
}

void TfrmClientMain::FillDocumentList() {
  const QModelIndex top = listBox_->indexAt(QPoint(0, 0));
  listModel_->Fill(currentNode_);
  // A fresh list has no chosen row; the view would otherwise mark the first.
  listBox_->selectionModel()->clear();
  const int rows = listModel_->rowCount();
  if (rows > 0 && top.isValid()) {
    listBox_->scrollTo(listModel_->index(std::min(top.row(), rows - 1)), QAbstractItemView::PositionAtTop);
  }
  listBox_->viewport()->update();
}

void TfrmClientMain::ClearText() {
  links_.clear();
  lineStarts_.clear();
  textEdit_->clear();
}

void TfrmClientMain::ShowTextDocument(TTOMONode& node) {
  const QSignalBlocker quiet(textEdit_);
  ClearText();
  try {
    TOpenDocument document(node.Record().DocumentNumber);
    const TTOMODocumentBody body = ReadDocumentBody(document->OpenRead());
    if (body.Values.Count() > 0) TakeDocumentFacts(node, body.Values, *document);
    const TRichTextDocument content = ReadRichText(body.Content);
    std::unique_ptr<QTextDocument> text = BuildTextDocument(content);
    text->setDefaultFont(textEdit_->font());
    lineStarts_ = BuildLineStarts(RichTextPlainText(content));
    links_ = ApplyLinks(*text, lineStarts_, body.Hyperlinks,
                        [this](int id) { return FindNode(id) != nullptr; });
    // Documents we put in belong to the view; its own first one belongs to
    // its text control, which frees it when replaced.
    QTextDocument* old = textEdit_->document();
    const bool oldIsOurs = old->parent() == textEdit_;
    text->setParent(textEdit_);
    textEdit_->setDocument(text.release());
    if (oldIsOurs) delete old;
    textEdit_->ApplyZoom();
    textEdit_->moveCursor(QTextCursor::Start);
  } catch (...) {
    ShowCurrentError();
    ShowDocumentError(node);
  }
  textEdit_->document()->setModified(false);
  treeModel_->RefreshIcon(&node);
  SaveLearnedFacts();
}

void TfrmClientMain::ShowDocumentError(TTOMONode& node) {
  const TErrorReport report = MakeCurrentErrorReport();
  node.ClearDocumentDate();
  ClearText();
  textEdit_->setPlainText(DocumentErrorText(node.Record().DocumentNumber, report.ClassName, report.Message));
}

void TfrmClientMain::ShowBitmapDocument(TTOMONode& node) {
  bitmap_ = QImage();
  bitmapImage_->setPixmap(bitmapDefaultImage_->pixmap());
  try {
    TOpenDocument document(node.Record().DocumentNumber);
    const TTOMODocumentBody body = ReadDocumentBody(document->OpenRead());
    TakeDocumentFacts(node, body.Values, *document);
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(body.Content.data()),
                            static_cast<int>(body.Content.size()), "BMP")) {
      throw ELxException("Imagem inválida");
    }
    bitmap_ = image;
    bitmapImage_->setPixmap(QPixmap::fromImage(bitmap_));
  } catch (...) {
    ShowCurrentError();
    node.ClearDocumentDate();
    bitmapImage_->setPixmap(bitmapDefaultImage_->pixmap());
  }
  treeModel_->RefreshIcon(&node);
  SaveLearnedFacts();
}

void TfrmClientMain::SaveLearnedFacts() {
  try {
    SaveTreeIfChanged();
  } catch (...) {
    // The document is on screen; the tree stays marked changed and is
    // written at the next chance.
    ShowCurrentError();
  }
}

void TfrmClientMain::StoreScrollPosition() {
  if (!currentNode_ || !TextPageShown()) return;
  // The text is laid out lazily; a fraction of an unfinished range would be
  // wrong, so finish the layout unless the view is still at the top.
  if (textEdit_->verticalScrollBar()->value() != textEdit_->verticalScrollBar()->minimum()) {
    textEdit_->document()->documentLayout()->documentSize();
  }
  scrollById_[currentNode_->Id()] = textEdit_->ScrollFraction();
}

void TfrmClientMain::RestoreScrollPosition(const TTOMONode* node) {
  if (!node || !TextPageShown()) return;
  const auto stored = scrollById_.find(node->Id());
  const int fraction = stored == scrollById_.end() ? 0 : stored->second;
  if (fraction == 0) {
    textEdit_->ScrollToFraction(0);
    return;  // the top needs no layout of the whole text
  }
  // Lay the whole text out first, so that the scroll range is final.
  textEdit_->document()->documentLayout()->documentSize();
  textEdit_->ScrollToFraction(fraction);
  // Once more after pending layout work, unless another node came meanwhile.
  QTimer::singleShot(0, textEdit_, [this, id = node->Id(), fraction] {
    if (currentNode_ && currentNode_->Id() == id && TextPageShown()) textEdit_->ScrollToFraction(fraction);
  });
}
