#include "FilterTree.h"

#include "ClientIcons.h"
#include "QtText.h"
#include "TOMONode.h"
#include "TOMOTree.h"
#include "TOMOTreeModel.h"
#include "WaitCursor.h"

namespace {

constexpr int kIdRole = Qt::UserRole + 1;

bool IsTicked(const QTreeWidgetItem& item) { return item.checkState(0) == Qt::Checked; }

}  // namespace

TFilterTree::TFilterTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { AddChildItems(*item); });
  connect(this, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) {
    if (propagating_) return;
    PropagateTick(*item);
    emit TicksChanged();
  });
}

std::int32_t TFilterTree::IdOf(const QTreeWidgetItem& item) { return item.data(0, kIdRole).toInt(); }

QTreeWidgetItem* TFilterTree::ItemOfId(std::int32_t id) const {
  const auto found = itemById_.find(id);
  return found == itemById_.end() ? nullptr : found->second;
}

TTitleTick TFilterTree::TickOf(std::int32_t id) const {
  const QTreeWidgetItem* item = ItemOfId(id);
  if (!item) return TTitleTick::NoItem;
  return IsTicked(*item) ? TTitleTick::Ticked : TTitleTick::Unticked;
}

QTreeWidgetItem* TFilterTree::NewItem(const TTOMONode& node, Qt::CheckState tick) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, Win1252ToQString(node.Record().Title));
  item->setData(0, kIdRole, node.Id());
  item->setIcon(0, NodeImage(NodeImageIndex(node.Record(), TTOMOTreeModel::ItemLevel(node))));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
  item->setCheckState(0, tick);
  item->setChildIndicatorPolicy(node.HasChildren() ? QTreeWidgetItem::ShowIndicator
                                                   : QTreeWidgetItem::DontShowIndicatorWhenChildless);
  itemById_[node.Id()] = item;
  return item;
}

void TFilterTree::Fill(const TTOMOTree* tree) {
  TWaitCursor wait;
  const QSignalBlocker quiet(this);
  setUpdatesEnabled(false);
  clear();
  itemById_.clear();
  tree_ = tree;
  const TTOMONode* root = tree ? tree->Root() : nullptr;
  if (root) {
    QList<QTreeWidgetItem*> items;
    items.reserve(root->ChildCount());
    for (int i = 0; i < root->ChildCount(); ++i) items.append(NewItem(*root->Child(i), Qt::Unchecked));
    addTopLevelItems(items);
  }
  setUpdatesEnabled(true);
  emit TicksChanged();
}

void TFilterTree::AddChildItems(QTreeWidgetItem& item) {
  const TTOMONode* node = tree_ ? tree_->FindNode(IdOf(item)) : nullptr;
  if (!node || item.childCount() >= node->ChildCount()) return;
  const QSignalBlocker quiet(this);
  const Qt::CheckState tick = item.checkState(0);
  QList<QTreeWidgetItem*> children;
  for (int i = item.childCount(); i < node->ChildCount(); ++i) children.append(NewItem(*node->Child(i), tick));
  item.addChildren(children);
}

void TFilterTree::PropagateTick(QTreeWidgetItem& item) {
  propagating_ = true;
  TickDescendants(item, item.checkState(0));
  UpdateAncestors(item);
  propagating_ = false;
}

void TFilterTree::TickDescendants(QTreeWidgetItem& item, Qt::CheckState tick) {
  for (int i = 0; i < item.childCount(); ++i) {
    QTreeWidgetItem& child = *item.child(i);
    child.setCheckState(0, tick);
    TickDescendants(child, tick);
  }
}

void TFilterTree::UpdateAncestors(QTreeWidgetItem& item) {
  if (IsTicked(item)) {
    for (QTreeWidgetItem* up = item.parent(); up; up = up->parent()) up->setCheckState(0, Qt::Checked);
    return;
  }
  // Each ancestor stays ticked exactly while one of its children is; the
  // first that stays ticked holds for everything above it.
  for (QTreeWidgetItem* up = item.parent(); up; up = up->parent()) {
    bool anyTicked = false;
    for (int i = 0; i < up->childCount() && !anyTicked; ++i) anyTicked = IsTicked(*up->child(i));
    up->setCheckState(0, anyTicked ? Qt::Checked : Qt::Unchecked);
    if (anyTicked) return;
  }
}

QStringList TFilterTree::ChosenBranches() const {
  QStringList chosen;
  for (int i = 0; i < topLevelItemCount(); ++i) CollectChosen(*topLevelItem(i), chosen);
  return chosen;
}

void TFilterTree::CollectChosen(const QTreeWidgetItem& item, QStringList& chosen) {
  if (!IsTicked(item)) return;
  bool whole = true;
  for (int i = 0; i < item.childCount() && whole; ++i) whole = IsTicked(*item.child(i));
  if (whole) {
    chosen.append(item.text(0));
    return;
  }
  for (int i = 0; i < item.childCount(); ++i) CollectChosen(*item.child(i), chosen);
}
