#pragma once

#include <QListView>

class TDocumentListDelegate;

// The search result list: owner-drawn rows like the document list's,
// indented by level, folders bold only when they have children. A click
// reports its row; a double click or Enter opens it. After a search that
// found nothing, the empty list says so.
class TResultListView : public QListView {
  Q_OBJECT

 public:
  explicit TResultListView(QWidget* parent = nullptr);

  // Whether an empty list is the answer of a search (and says so) or
  // simply holds nothing yet.
  void SetSearched(bool searched);
  // Why the last search found nothing, said under "Nenhum documento
  // encontrado."; empty when there is nothing to explain.
  void SetEmptyNote(const QString& note);
  const QString& EmptyNote() const { return emptyNote_; }

 signals:
  void RowClicked(int row);
  void RowOpened(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TDocumentListDelegate* delegate_;
  bool searched_ = false;
  QString emptyNote_;
};

// What the empty list shows after a search that found nothing.
inline constexpr char kNothingFoundText[] = "Nenhum documento encontrado.";
