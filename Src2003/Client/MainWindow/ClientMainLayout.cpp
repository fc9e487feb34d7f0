// The main window's controls and their arrangement.
#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "ClientIcons.h"
#include "ClientMainUnit.h"
#include "DocumentListModel.h"
#include "DocumentListView.h"
#include "ResultListModel.h"
#include "ResultListView.h"
#include "ResultTreeModel.h"
#include "SearchPage.h"
#include "TOMOTreeModel.h"
#include "TextSearchPanel.h"
#include "TextView.h"

namespace {

constexpr int kTreeIndent = 19;
constexpr int kTitleFontPixels = 19;
constexpr int kTextFontPixels = 19;
constexpr int kLeftPaneWidth = 300;
constexpr int kRightPaneWidth = 800;
constexpr int kPlaceholderSize = 64;
constexpr char kTitleBandStyle[] = "QLabel { background: #4a4a4a; color: white; padding: 4px 6px; }";

QFont ArialPixels(int pixels) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(pixels);
  return font;
}

QWidget* NamedPage(const char* name, QWidget* parent) {
  auto* page = new QWidget(parent);
  page->setObjectName(name);
  return page;
}

}  // namespace

void TfrmClientMain::CreateControls() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setObjectName("Splitter");
  splitter_->addWidget(CreateLeftPane());
  splitter_->addWidget(CreateRightPane());
  splitter_->setStretchFactor(1, 1);
  splitter_->setSizes({kLeftPaneWidth, kRightPaneWidth});
  splitter_->setChildrenCollapsible(false);
  setCentralWidget(splitter_);
}

QWidget* TfrmClientMain::CreateLeftPane() {
  treePageControl_ = new QTabWidget(this);
  treePageControl_->setObjectName("TreePageControl");

  treeModel_ = new TTOMOTreeModel(this);
  treeView_ = new QTreeView(treePageControl_);
  treeView_->setObjectName("TreeView");
  treeView_->setModel(treeModel_);
  treeView_->setHeaderHidden(true);
  treeView_->setIndentation(kTreeIndent);
  treeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  treeView_->setUniformRowHeights(true);
  treeView_->setSelectionMode(QAbstractItemView::SingleSelection);
  treeModel_->SetItemFont(treeView_->font());
  treePageControl_->addTab(treeView_, QStringLiteral("Índice"));

  // The result model keeps each level in caption order itself: a sorting
  // view would sort the whole tree again on every rebuild.
  resultTreeModel_ = new TResultTreeModel(this);
  searchTreeView_ = new QTreeView(treePageControl_);
  searchTreeView_->setObjectName("SearchTreeView");
  searchTreeView_->setModel(resultTreeModel_);
  searchTreeView_->setHeaderHidden(true);
  searchTreeView_->setIndentation(kTreeIndent);
  searchTreeView_->setUniformRowHeights(true);
  searchTreeView_->setSelectionMode(QAbstractItemView::SingleSelection);
  searchTreeView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resultTreeModel_->SetItemFont(searchTreeView_->font());
  treePageControl_->addTab(searchTreeView_, QStringLiteral("Pesquisa"));
  return treePageControl_;
}

QWidget* TfrmClientMain::CreateRightPane() {
  auto* pane = new QWidget(this);
  pane->setObjectName("RightPane");
  titleLabel_ = new QLabel(pane);
  titleLabel_->setObjectName("TitleLabel");
  titleLabel_->setFont(ArialPixels(kTitleFontPixels));
  titleLabel_->setStyleSheet(QString::fromLatin1(kTitleBandStyle));
  titleLabel_->setTextFormat(Qt::PlainText);

  pageControl_ = new QStackedWidget(pane);
  pageControl_->setObjectName("PageControl");
  pageControl_->installEventFilter(this);

  listBoxTabSheet_ = NamedPage("ListBoxTabSheet", pageControl_);
  listModel_ = new TDocumentListModel(*treeModel_, this);
  listBox_ = new TDocumentListView(listBoxTabSheet_);
  listBox_->setObjectName("ListBox");
  listBox_->setModel(listModel_);
  auto* listLayout = new QVBoxLayout(listBoxTabSheet_);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(listBox_);

  pageControl_->addWidget(listBoxTabSheet_);
  pageControl_->addWidget(CreateTextPage());
  pageControl_->addWidget(CreateBitmapPage());
  pageControl_->addWidget(CreateSearchPage());

  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(titleLabel_);
  layout->addWidget(pageControl_, 1);
  return pane;
}

QWidget* TfrmClientMain::CreateTextPage() {
  textTabSheet_ = NamedPage("TextTabSheet", pageControl_);
  textSearchPanel_ = new TTextSearchPanel(*actions_.TextFindNextAction, *actions_.TextHideSearchAction, textTabSheet_);
  textSearchPanel_->hide();
  textTabSheet_->addAction(actions_.TextHideSearchAction);  // Esc anywhere on the page
  textEdit_ = new TTextView(textTabSheet_);
  textEdit_->setObjectName("TextEdit");
  textEdit_->setFont(ArialPixels(kTextFontPixels));
  auto* layout = new QVBoxLayout(textTabSheet_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(textSearchPanel_);
  layout->addWidget(textEdit_, 1);
  return textTabSheet_;
}

QWidget* TfrmClientMain::CreateBitmapPage() {
  bitmapTabSheet_ = NamedPage("BitmapTabSheet", pageControl_);
  bitmapScrollBox_ = new QScrollArea(bitmapTabSheet_);
  bitmapScrollBox_->setObjectName("BitmapScrollBox");
  bitmapScrollBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  bitmapImage_ = new QLabel;
  bitmapImage_->setObjectName("BitmapImage");
  bitmapImage_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  bitmapScrollBox_->setWidget(bitmapImage_);
  bitmapScrollBox_->setWidgetResizable(true);

  bitmapDefaultImage_ = new QLabel(bitmapTabSheet_);
  bitmapDefaultImage_->setObjectName("BitmapDefaultImage");
  QIcon placeholder = QIcon::fromTheme(QStringLiteral("image-missing"));
  if (placeholder.isNull()) placeholder = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  bitmapDefaultImage_->setPixmap(placeholder.pixmap(kPlaceholderSize, kPlaceholderSize));
  bitmapDefaultImage_->hide();

  auto* layout = new QVBoxLayout(bitmapTabSheet_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(bitmapScrollBox_);
  return bitmapTabSheet_;
}

QWidget* TfrmClientMain::CreateSearchPage() {
  searchPage_ = new TSearchPage(*actions_.SearchDocumentsNowAction, pageControl_);
  resultListModel_ = new TResultListModel(resultTreeModel_->Items(), this);
  searchPage_->ResultList().setModel(resultListModel_);
  return searchPage_;
}
