#pragma once

#include <QWidget>

class QAction;
class TTextSearchPanel;
class TTextView;

// The main window's page for text entries ("TextTabSheet"): the find panel,
// hidden at first, above the reader view.
class TTextPage : public QWidget {
  Q_OBJECT

 public:
  // `findNext` and `hide` are the commands of the find panel's buttons;
  // `hide` also answers Esc anywhere on the page.
  TTextPage(QAction& findNext, QAction& hide, QWidget* parent = nullptr);

  TTextView& View() const { return *textEdit_; }
  bool FindPanelShown() const;
  // Shows the find panel, with the focus in its field, or hides it.
  void ToggleFindPanel();
  void HideFindPanel();
  // Finds the panel's text in the view and tells where it landed; "Texto
  // não encontrado" when it found nothing.
  void FindNext();

 private:
  TTextSearchPanel* textSearchPanel_ = nullptr;
  TTextView* textEdit_ = nullptr;
};
