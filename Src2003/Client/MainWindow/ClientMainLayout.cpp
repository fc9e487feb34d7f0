// The main window's controls and their arrangement.
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "BitmapPage.h"
#include "ClientMainUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ResultListView.h"
#include "RowRelayout.h"
#include "SearchPage.h"
#include "SearchSession.h"
#include "TOMOTreeModel.h"
#include "TextHitMarks.h"
#include "TextPage.h"
#include "TextView.h"

namespace {

constexpr int kTreeIndent = 19;
constexpr int kTitleFontPixels = 19;
constexpr int kLeftPaneWidth = 300;
constexpr int kRightPaneWidth = 800;
constexpr char kTitleBandStyle[] = "QLabel { background: #4a4a4a; color: white; padding: 4px 6px; }";

QTreeView* NewTreeView(const char* name, QWidget* parent) {
  auto* view = new QTreeView(parent);
  view->setObjectName(name);
  view->setHeaderHidden(true);
  view->setIndentation(kTreeIndent);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setUniformRowHeights(true);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  return view;
}

}  // namespace

void TfrmClientMain::CreateControls() {
  treePageControl_ = new QTabWidget(this);
  treePageControl_->setObjectName("TreePageControl");
  treeModel_ = new TTOMOTreeModel(this);
  treeView_ = NewTreeView("TreeView", treePageControl_);
  treeView_->setModel(treeModel_);
  treeModel_->SetItemFont(treeView_->font());
  treePageControl_->addTab(treeView_, QStringLiteral("Índice"));
  QTreeView* resultTree = NewTreeView("SearchTreeView", treePageControl_);
  treePageControl_->addTab(resultTree, QStringLiteral("Pesquisa"));

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName("Splitter");
  splitter->addWidget(treePageControl_);
  splitter->addWidget(CreateRightPane());
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kLeftPaneWidth, kRightPaneWidth});
  splitter->setChildrenCollapsible(false);
  setCentralWidget(splitter);
  // The search session shows its results in the left pane's "Pesquisa".
  searchPage_->Session().Attach([this] { return Tree(); }, *resultTree, [this]() -> std::unique_ptr<TSearchTextView> {
    TTextView* text = ShownText();
    return text ? std::make_unique<TTextHitMarks>(*text) : nullptr;
  });
  // The lists' rows follow the width of the right pane.
  new TRowRelayout(*pageControl_, *this, {listBox_, &searchPage_->ResultList()});
}

QWidget* TfrmClientMain::CreateRightPane() {
  auto* pane = new QWidget(this);
  pane->setObjectName("RightPane");
  titleLabel_ = new QLabel(pane);
  titleLabel_->setObjectName("TitleLabel");
  QFont titleFont(QStringLiteral("Arial"));
  titleFont.setPixelSize(kTitleFontPixels);
  titleLabel_->setFont(titleFont);
  titleLabel_->setStyleSheet(QString::fromLatin1(kTitleBandStyle));
  titleLabel_->setTextFormat(Qt::PlainText);

  pageControl_ = new QStackedWidget(pane);
  pageControl_->setObjectName("PageControl");
  auto* listPage = new QWidget(pageControl_);
  listPage->setObjectName("ListBoxTabSheet");
  listModel_ = new TDocumentListModel(*treeModel_, this);
  listBox_ = new TDocumentListView(listPage);
  listBox_->setObjectName("ListBox");
  listBox_->setModel(listModel_);
  auto* listLayout = new QVBoxLayout(listPage);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(listBox_);
  textPage_ = new TTextPage(*actions_.TextFindNextAction, *actions_.TextHideSearchAction, pageControl_);
  bitmapPage_ = new TBitmapPage(pageControl_);
  searchPage_ = new TSearchPage(*actions_.SearchDocumentsNowAction, pageControl_);
  for (QWidget* page : {listPage, static_cast<QWidget*>(textPage_), static_cast<QWidget*>(bitmapPage_),
                        static_cast<QWidget*>(searchPage_)}) {
    pageControl_->addWidget(page);
  }

  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(titleLabel_);
  layout->addWidget(pageControl_, 1);
  return pane;
}
